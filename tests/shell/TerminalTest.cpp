#include "QtPrinters.h"
#include "LinkFixture.h"
#include "LongOperation.h"
#include "SendPath.h"
#include "MyEdit.h"
#include "TerminalDlg.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>

class TerminalTest : public LinkFixture {
protected:
    TerminalTest()
    {
        // Echo, then "OK" for everything; "SLOW" answers after a second.
        camera->responder = [](const QByteArray& line) { return line + "\rOK\r"; };
        camera->replyDelayMs = 20;
        terminal.show();
    }

    void type(const QString& text, QWidget* focus = nullptr)
    {
        terminal.commandEdit()->setText(text);
        QTest::keyClick(focus ? focus : terminal.commandEdit(), Qt::Key_Return);
    }

    QString sent() const { return terminal.sentList()->toPlainText(); }
    QString log() const { return terminal.responseLog()->toPlainText(); }
    QString command() const { return terminal.commandEdit()->text(); }

    SendPath sendPath{connection};
    CTerminalDlg terminal{sendPath};
};

TEST_F(TerminalTest, EnterSendsTheLineAndLogsTheAnswerOneLinePerAnswerLine)
{
    terminal.show();
    EXPECT_EQ(terminal.windowTitle(), "Terminal");
    type("MODEL");
    EXPECT_EQ(camera->receivedLines(), QByteArrayList{"MODEL"});
    EXPECT_EQ(sent(), "MODEL");
    EXPECT_EQ(command(), "");
    EXPECT_EQ(log(), "MODEL\nOK\n");
    type("GAIN 12");
    EXPECT_EQ(sent(), "MODEL\nGAIN 12");
    EXPECT_EQ(log(), "MODEL\nOK\nGAIN 12\nOK\n");
}

TEST_F(TerminalTest, EnterReturnsAsSoonAsTheTerminalLineHasArrived)
{
    const struct {
        QByteArray answer;
        double maxSeconds;
    } cases[] = {{"X\rOK\r", 0.1}, {"X\rNG\r", 0.1}, {"X\rERROR 3\r", 0.1}, {"X\r12\r", 0.85}};
    for (const auto& c : cases) {
        camera->responder = [&c](const QByteArray&) { return c.answer; };
        const qint64 start = clock.nowUs();
        type("X");
        EXPECT_LT(secondsSince(start), c.maxSeconds) << c.answer.constData();
        EXPECT_GE(secondsSince(start), c.maxSeconds > 0.5 ? 0.8 : 0.0) << c.answer.constData();
        EXPECT_TRUE(log().endsWith(QString::fromLatin1(c.answer).replace('\r', '\n')));
    }
}

TEST_F(TerminalTest, AnAnswerLaterThan800MsIsShownAsTextOfItsOwnBeforeTheNextAnswer)
{
    camera->replyDelayMs = 900;
    type("SLOW");
    EXPECT_EQ(log(), "");
    EXPECT_EQ(sent(), "SLOW");
    clock.sleepMs(200); // the answer comes in meanwhile
    camera->replyDelayMs = 20;
    type("FAST");
    EXPECT_EQ(log(), "SLOW\nOK\nFAST\nOK\n");
}

TEST_F(TerminalTest, ALongAnswerIsWaitedForWhileItsBytesKeepComingAndArrivesWhole)
{
    // A HELP list of about 2,000 bytes at 9600 baud: a byte a millisecond,
    // so it takes two seconds, well past the 800 ms of a short answer.
    QByteArray help = "HELP\r";
    for (int i = 0; help.size() < 2000; ++i)
        help += " LINEAR-INTERPOLATION-" + QByteArray::number(i) + "\r";
    help += "OK\r";
    camera->responder = [this, help](const QByteArray&) {
        for (qsizetype sent = 0; sent < help.size(); sent += 10)
            camera->sendAfterMs(1.0 + sent, help.mid(sent, 10));
        return QByteArray();
    };
    const qint64 start = clock.nowUs();
    type("HELP");
    EXPECT_GE(secondsSince(start), 1.9);
    EXPECT_EQ(log(), QString::fromLatin1(help).replace('\r', '\n'));

    // The next answer begins on a line of its own.
    camera->responder = [](const QByteArray& line) { return line + "\rOK\r"; };
    type("MODEL");
    EXPECT_TRUE(log().endsWith("\nOK\nMODEL\nOK\n"));
}

TEST_F(TerminalTest, AnAnswerCutOffByItsTimeOutIsNotGluedToTheNextOne)
{
    // Bytes stop for more than 800 ms in the middle of a line.
    camera->responder = [this](const QByteArray&) {
        camera->sendAfterMs(10, "HELP\r LIN");
        camera->sendAfterMs(1500, "EAR\rOK\r");
        return QByteArray();
    };
    type("HELP");
    EXPECT_EQ(log(), "HELP\n LIN");
    clock.sleepMs(1000);
    camera->responder = [](const QByteArray& line) { return line + "\rOK\r"; };
    type("BLACKLEVEL");
    EXPECT_EQ(log(), "HELP\n LIN\nEAR\nOK\nBLACKLEVEL\nOK\n");
}

TEST_F(TerminalTest, ALineWithoutEndIsBrokenAndAHiddenTerminalTakesNothingBetweenCommands)
{
    // A camera that keeps sending one line, in pieces, while nobody asks.
    const QByteArray piece(3000, 'x');
    for (int i = 0; i < 4; ++i)
        connection.passOnUnsolicited(piece);
    const QStringList lines = log().split('\n');
    EXPECT_EQ(lines.join(QString()).size(), 4 * piece.size());
    for (const QString& line : lines)
        EXPECT_LE(line.size(), CTerminalDlg::kMaxLineLength);

    terminal.hide();
    connection.passOnUnsolicited("LATE\r");
    EXPECT_FALSE(log().contains("LATE"));
}

TEST_F(TerminalTest, BothPanesKeepTheirLastTenThousandLines)
{
    QByteArray lines;
    for (int i = 0; i < CTerminalDlg::kMaxLines + 500; ++i)
        lines += "LINE " + QByteArray::number(i) + '\r';
    connection.passOnUnsolicited(lines);
    EXPECT_LE(terminal.responseLog()->document()->blockCount(), CTerminalDlg::kMaxLines);
    EXPECT_TRUE(log().startsWith("LINE 501\n"));

    camera->replyDelayMs = 0;
    for (int i = 0; i < CTerminalDlg::kMaxLines + 5; ++i)
        type("C" + QString::number(i));
    EXPECT_EQ(terminal.sentList()->document()->blockCount(), CTerminalDlg::kMaxLines);
    EXPECT_TRUE(sent().startsWith("C5\n"));
    EXPECT_TRUE(sent().endsWith(QStringLiteral("C%1").arg(CTerminalDlg::kMaxLines + 4)));
}

TEST_F(TerminalTest, AnEmptyLineSendsALoneCarriageReturnAndAddsNothingToTheSentList)
{
    camera->responder = [](const QByteArray&) { return QByteArray("\rNG\r"); };
    type("");
    EXPECT_EQ(camera->received, "\r");
    EXPECT_EQ(sent(), "");
    EXPECT_EQ(log(), "\nNG\n");
    type("A");
    type("");
    EXPECT_EQ(sent(), "A");
}

TEST_F(TerminalTest, TheSentListIsTrimmedAsAWhole)
{
    type("  GAIN 3  ");
    EXPECT_EQ(camera->receivedLines(), QByteArrayList{"  GAIN 3  "});
    EXPECT_EQ(sent(), "GAIN 3");
    type(" OFFSETX 2");
    EXPECT_EQ(sent(), "GAIN 3\n OFFSETX 2");
}

TEST_F(TerminalTest, EnterSendsWhicheverControlHasTheFocus)
{
    type("A", terminal.responseLog());
    type("B", terminal.sentList());
    type("C", terminal.closeButton());
    EXPECT_EQ(camera->receivedLines(), (QByteArrayList{"A", "B", "C"}));
    EXPECT_TRUE(terminal.isVisible());
}

TEST_F(TerminalTest, EnterWhileAnotherExchangeRunsSendsTheLineOnceItIsOver)
{
    {
        Connection::BusyScope busy(connection);
        type("GAIN 1");
        EXPECT_TRUE(camera->received.isEmpty());
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(camera->receivedLines(), QByteArrayList{"GAIN 1"});
    EXPECT_EQ(sent(), "GAIN 1");
}

TEST_F(TerminalTest, AClosedPortLogsNothingButRecordsTheLine)
{
    connection.close();
    type("MODEL");
    EXPECT_EQ(sent(), "MODEL");
    EXPECT_EQ(log(), "");
}

TEST_F(TerminalTest, UpRecallsTheLastLineSentThenTheOnesBeforeAndBothKeysStopAtTheEnds)
{
    type("A");
    type("B");
    type("C");
    // After each line sent, Up begins again from that line.
    const struct {
        Qt::Key key;
        const char* recalled; // empty: the recalled line is sent
    } steps[] = {{Qt::Key_Up, "C"},   {Qt::Key_Up, "B"},     {Qt::Key_Up, "A"},   {Qt::Key_Up, "A"},
                 {Qt::Key_Down, "B"}, {Qt::Key_Down, "C"},   {Qt::Key_Down, "C"}, {Qt::Key_Up, "B"},
                 {Qt::Key_Return, ""}, {Qt::Key_Up, "B"},    {Qt::Key_Up, "C"},   {Qt::Key_Down, "B"}};
    int step = 0;
    for (const auto& s : steps) {
        QTest::keyClick(terminal.commandEdit(), s.key);
        if (s.key == Qt::Key_Return) {
            EXPECT_EQ(camera->receivedLines().last(), "B") << "step " << step;
        } else {
            EXPECT_EQ(command(), s.recalled) << "step " << step;
            EXPECT_EQ(terminal.commandEdit()->selectedText(), s.recalled) << "step " << step;
        }
        ++step;
    }
}

TEST_F(TerminalTest, ALongSlowAnswerIsShownAsItComesWhileTheWindowsGoOnRepainting)
{
    // 3,000 bytes at 9600 baud: about three seconds on the wire.
    QByteArray help = "HELP\r";
    for (int i = 0; help.size() < 3000; ++i)
        help += " CHOICE-" + QByteArray::number(i) + "\r";
    help += "OK\r";
    camera->responder = [this, help](const QByteArray&) {
        for (qsizetype sent = 0; sent < help.size(); sent += 10)
            camera->sendAfterMs(1.0 + sent * 1.04, help.mid(sent, 10));
        return QByteArray();
    };
    QList<qsizetype> shownAtRepaint;
    const PendingEventsRunner previous = setPendingEventsRunner([&] { shownAtRepaint << log().size(); });
    type("HELP");
    setPendingEventsRunner(previous);

    EXPECT_EQ(log(), QString::fromLatin1(help).replace('\r', '\n'));
    // Every 50 ms of the three seconds the windows got their turn, each time
    // with more of the answer in the log.
    ASSERT_GE(shownAtRepaint.size(), 50);
    EXPECT_TRUE(shownAtRepaint.first() > 0 && shownAtRepaint.last() < log().size());
    EXPECT_TRUE(std::is_sorted(shownAtRepaint.begin(), shownAtRepaint.end()));
    // In a fixed-width font, so that columns of an answer line up.
    const QFontMetrics metrics(terminal.responseLog()->font());
    EXPECT_EQ(metrics.horizontalAdvance("iiii"), metrics.horizontalAdvance("MMMM"));
}

TEST_F(TerminalTest, AnEmptySentListRecallsEmptyText)
{
    terminal.commandEdit()->setText("typed");
    QTest::keyClick(terminal.commandEdit(), Qt::Key_Up);
    EXPECT_EQ(command(), "");
    QTest::keyClick(terminal.commandEdit(), Qt::Key_Down);
    EXPECT_EQ(command(), "");
}

TEST_F(TerminalTest, DoubleClickCopies32CharactersWhileUpRecallsTheWholeLine)
{
    const QString longLine = "USER-ID " + QString(50, 'x');
    type(longLine);
    type("B");
    QTextCursor cursor(terminal.sentList()->document()->findBlockByNumber(0));
    cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, 3);
    terminal.sentList()->setTextCursor(cursor);
    const QPoint onLine = terminal.sentList()->cursorRect().center();
    QTest::mouseDClick(terminal.sentList()->viewport(), Qt::LeftButton, Qt::NoModifier, onLine);
    EXPECT_EQ(command(), longLine.left(32));

    QTest::keyClick(terminal.commandEdit(), Qt::Key_Up);
    QTest::keyClick(terminal.commandEdit(), Qt::Key_Up);
    EXPECT_EQ(command(), longLine);
}

TEST_F(TerminalTest, EscapeDoesNothingAndCloseHides)
{
    QTest::keyClick(terminal.commandEdit(), Qt::Key_Escape);
    EXPECT_TRUE(terminal.isVisible());
    terminal.closeButton()->click();
    EXPECT_FALSE(terminal.isVisible());
    terminal.show();
    terminal.close();
    EXPECT_FALSE(terminal.isVisible());
    EXPECT_TRUE(camera->received.isEmpty());
}
