#include "Link.h"
#include "CapturedMessages.h"
#include "LinkFixture.h"

#include <QMap>

namespace {

// A camera that knows a few answers by command line; the echo is added.
std::function<QByteArray(const QByteArray&)> answering(QMap<QByteArray, QByteArray> answers)
{
    return [answers](const QByteArray& line) -> QByteArray {
        if (!answers.contains(line))
            return {};
        return line + '\r' + answers.value(line);
    };
}

} // namespace

using TransactTest = LinkFixture;

TEST_F(TransactTest, WritesTheLineWithOneCarriageReturnAndSucceedsOnOk)
{
    camera->responder = answering({{"GAIN-FINE 12", "OK\r"}});
    EXPECT_TRUE(Transact(connection, "GAIN-FINE 12", 1.0));
    EXPECT_EQ(camera->received, "GAIN-FINE 12\r");
}

TEST_F(TransactTest, RefusalLineEndsTheWaitAtOnce)
{
    camera->replyDelayMs = 5;
    for (const QByteArray refusal : {"NG\r", "ERROR\r", "ERROR: out of range\r"}) {
        camera->responder = answering({{"GAIN 99", refusal}});
        const qint64 start = clock.nowUs();
        EXPECT_FALSE(Transact(connection, "GAIN 99", 1.0)) << refusal.constData();
        EXPECT_LT(secondsSince(start), 0.1);
    }
}

TEST_F(TransactTest, AnEchoHoldingNgIsNotARefusal)
{
    // The echo arrives well before the "OK": it must not decide.
    camera->responder = [this](const QByteArray& line) {
        camera->sendAfterMs(300, "OK\r");
        return line + '\r';
    };
    EXPECT_TRUE(Transact(connection, "TRIGGER-RANGE 1", 1.0));
}

TEST_F(TransactTest, AnEchoHoldingOkIsNotAnAcceptance)
{
    camera->responder = [this](const QByteArray& line) {
        camera->sendAfterMs(200, "NG\r");
        return line + '\r';
    };
    EXPECT_FALSE(Transact(connection, "LOOKUP 1", 1.0));
}

TEST_F(TransactTest, AnAnswerArrivingInPiecesIsJoinedAtEveryCut)
{
    const QByteArray answer = "GAIN 12\rOK\r";
    for (qsizetype cut = 1; cut < answer.size(); ++cut) {
        camera->responder = [&](const QByteArray&) {
            camera->sendAfterMs(10, answer.left(cut));
            camera->sendAfterMs(40, answer.mid(cut));
            return QByteArray();
        };
        EXPECT_TRUE(Transact(connection, "GAIN 12", 1.0)) << cut;
    }
}

TEST_F(TransactTest, StaleInputIsDiscardedBeforeSending)
{
    camera->sendAt(clock.nowUs(), "OLD\rOK\r");
    const qint64 start = clock.nowUs();
    EXPECT_FALSE(Transact(connection, "GAIN 12", 1.0));
    EXPECT_GE(secondsSince(start), 1.0);
}

TEST_F(TransactTest, GivesUpBetweenOneAndTwoSecondsWithoutAnAnswer)
{
    for (int offsetMs : {0, 1, 500, 999}) {
        clock.sleepMs(offsetMs);
        const qint64 start = clock.nowUs();
        EXPECT_FALSE(Transact(connection, "GAIN 12", 1.0));
        EXPECT_GE(secondsSince(start), 1.0) << offsetMs;
        EXPECT_LE(secondsSince(start), 2.01) << offsetMs;
    }
}

TEST_F(TransactTest, WaitingBlocksOnThePortInsteadOfSpinning)
{
    const qint64 queriesBefore = camera->waitingQueries;
    Transact(connection, "GAIN 12", 1.0);
    // 10 ms slices over at most two seconds: a few hundred looks at the queue.
    EXPECT_LT(camera->waitingQueries - queriesBefore, 260);
}

TEST_F(TransactTest, OnAClosedConnectionEveryExchangeFailsAtOnce)
{
    connection.close();
    const qint64 start = clock.nowUs();
    EXPECT_FALSE(Transact(connection, "GAIN 12", 1.0));
    EXPECT_EQ(QueryInt(connection, "GAIN"), 0);
    EXPECT_TRUE(QueryText(connection, "MODEL").isEmpty());
    EXPECT_EQ(clock.nowUs(), start);
}

TEST_F(TransactTest, MarksTheConnectionBusyWhileItWaits)
{
    bool busyWhileAnswering = false;
    camera->responder = [&](const QByteArray& line) {
        busyWhileAnswering = connection.isBusy();
        return line + "\rOK\r";
    };
    Transact(connection, "GAIN 1", 1.0);
    EXPECT_TRUE(busyWhileAnswering);
    EXPECT_FALSE(connection.isBusy());
}

using ReadUntilOkTest = LinkFixture;

TEST_F(ReadUntilOkTest, EndsAtARefusalInsteadOfWaitingTenSeconds)
{
    camera->responder = answering({{"HELP LIBR", "NG\r"}});
    SendLine(connection, "HELP LIBR");
    const qint64 start = clock.nowUs();
    EXPECT_EQ(ReadUntilOk(connection, 10.0), "HELP LIBR\rNG\r");
    EXPECT_LT(secondsSince(start), 0.1);
}

TEST_F(ReadUntilOkTest, LineFeedsKeepItWaitingTheWholeTimeOut)
{
    camera->responder = answering({{"GAIN", "\n12\r\nOK\r\n"}});
    const qint64 start = clock.nowUs();
    EXPECT_EQ(QueryInt(connection, "GAIN"), -1);
    EXPECT_GE(secondsSince(start), 10.0);
    EXPECT_LE(secondsSince(start), 11.01);
}

using Query = LinkFixture;

TEST_F(Query, QueryIntReadsTheValueLineOrTheFailureValues)
{
    camera->responder = answering({{"GAIN", "12\rOK\r"}, {"EXP", "OK\r"}, {"AE", "0\rNG\r"},
                                   {"WIDTH", "-640\rOK\r"}});
    EXPECT_EQ(QueryInt(connection, "GAIN"), 12);
    EXPECT_EQ(QueryInt(connection, "WIDTH"), -640);
    EXPECT_EQ(QueryInt(connection, "EXP"), 0);  // echo and OK only
    EXPECT_EQ(QueryInt(connection, "AE"), -1);  // third line is not OK
    camera->responder = [](const QByteArray&) { return QByteArray("GAIM\r12\rOK\r"); };
    EXPECT_EQ(QueryInt(connection, "GAIN"), -1); // wrong echo, once the time-out has passed
}

TEST_F(Query, QueryIntOfARefusedCommandReturnsAtOnce)
{
    camera->responder = answering({{"LED-MODE", "NG\r"}});
    const qint64 start = clock.nowUs();
    EXPECT_EQ(QueryInt(connection, "LED-MODE"), 0);
    EXPECT_LT(secondsSince(start), 0.1);
}

TEST_F(Query, TryQueryIntEndsWithItsAnswerAndTellsFailure)
{
    camera->responder = answering({{"TEMPERATURE", "38\rOK\r"}, {"POWER-STATUS", "NG\r"},
                                   {"ID", "none\rOK\r"}});
    int value = -5;
    qint64 start = clock.nowUs();
    EXPECT_TRUE(TryQueryInt(connection, "TEMPERATURE", value));
    EXPECT_EQ(value, 38);
    EXPECT_LT(secondsSince(start), 0.01);

    value = -5;
    EXPECT_FALSE(TryQueryInt(connection, "POWER-STATUS", value));
    EXPECT_EQ(value, 0);
    value = -5;
    EXPECT_FALSE(TryQueryInt(connection, "ID", value)); // no number on the value line
    EXPECT_EQ(value, 0);
}

TEST_F(Query, QueryIntsFillsEveryOutputOrNone)
{
    camera->responder = answering({{"AGC-AREA", "10 20\rOK\r"}, {"SHORT", "10\rOK\r"}, {"BAD", "NG\r"}});
    int x = -1, y = -1;
    EXPECT_TRUE(QueryInts(connection, "AGC-AREA", "%d %d", {&x, &y}));
    EXPECT_EQ(x, 10);
    EXPECT_EQ(y, 20);
    x = y = -1;
    EXPECT_FALSE(QueryInts(connection, "SHORT", "%d %d", {&x, &y}));
    EXPECT_FALSE(QueryInts(connection, "BAD", "%d %d", {&x, &y}));
    EXPECT_EQ(x, -1);
    EXPECT_EQ(y, -1);
}

TEST_F(Query, QueryTextWaitsForASlowAnswerAndNeverReturnsPartOfALine)
{
    // 9600 baud: about one byte a millisecond; the model line arrives in
    // pieces over 300 ms, long after a single read at 100 ms.
    camera->responder = [this](const QByteArray& line) {
        camera->sendAfterMs(20, line + "\rPTM-");
        camera->sendAfterMs(150, "TW64");
        camera->sendAfterMs(300, "0M\rOK\r");
        return QByteArray();
    };
    EXPECT_EQ(QueryText(connection, "MODEL"), "PTM-TW640M");

    camera->responder = answering({{"VENDOR", "OK\r"}, {"ID", "1234\rNG\r"}});
    EXPECT_EQ(QueryText(connection, "VENDOR"), "");
    EXPECT_EQ(QueryText(connection, "ID"), "");
}

TEST_F(Query, QueryTextGivesUpAfterTheTimeOutOfTheOtherQueries)
{
    camera->responder = [](const QByteArray& line) { return line + "\rPTM-TW6"; };
    const qint64 start = clock.nowUs();
    EXPECT_EQ(QueryText(connection, "MODEL"), "");
    EXPECT_GE(secondsSince(start), 10.0);
    EXPECT_LE(secondsSince(start), 11.01);
}

TEST_F(Query, QueryChoicesKeepsTheLinesThatBeginWithABlank)
{
    camera->responder = answering({{"HELP TRG-MODE", " 0(Free run)\r 1(Trigger)\rOK\r"}});
    QByteArrayList choices;
    QueryChoices(connection, "TRG-MODE", choices);
    EXPECT_EQ(choices, (QByteArrayList{" 0(Free run)", " 1(Trigger)"}));
    EXPECT_EQ(camera->receivedLines().last(), "HELP TRG-MODE");
}

TEST_F(Query, QueryRangeReadsTheMinMaxStepLineOrLeavesZeros)
{
    camera->responder = answering({{"HELP GAIN", " min:-35, max:480, step:1\rOK\r"},
                                   {"HELP LIBR", "NG\r"}});
    int min = 7, max = 7, step = 7;
    QueryRange(connection, "HELP GAIN", min, max, step);
    EXPECT_EQ(min, -35);
    EXPECT_EQ(max, 480);
    EXPECT_EQ(step, 1);
    QueryRange(connection, "HELP LIBR", min, max, step);
    EXPECT_EQ(min, 0);
    EXPECT_EQ(max, 0);
    EXPECT_EQ(step, 0);
}

TEST_F(Query, AwaitLineEndsStopsAtTheSecondCarriageReturn)
{
    camera->responder = [this](const QByteArray& line) {
        camera->sendAfterMs(50, "OK\r");
        return line + '\r';
    };
    SendLine(connection, "SP-FL-VAL 00 1");
    const qint64 start = clock.nowUs();
    AwaitLineEnds(connection, 1.0);
    EXPECT_LT(secondsSince(start), 0.1);
    EXPECT_EQ(ReadAvailable(connection), "");

    const qint64 silentStart = clock.nowUs();
    AwaitLineEnds(connection, 1.0);
    EXPECT_GE(secondsSince(silentStart), 1.0);
}

using StreamLineTest = LinkFixture;

// A camera that works through its input one line at a time: each answer
// comes a fixed time after the one before.
class QueuingCamera {
public:
    QueuingCamera(ScriptedPort& port, Clock& clock, int msPerLine) : m_port(port), m_clock(clock), m_msPerLine(msPerLine) {}

    QByteArray answer(const QByteArray& line, const QByteArray& rest)
    {
        m_freeAtUs = qMax(m_freeAtUs, m_clock.nowUs()) + m_msPerLine * 1000;
        m_port.sendAt(m_freeAtUs, line + '\r' + rest);
        return {};
    }

private:
    ScriptedPort& m_port;
    Clock& m_clock;
    int m_msPerLine;
    qint64 m_freeAtUs = 0;
};

TEST_F(StreamLineTest, TheNextExchangeTakesItsOwnAnswerNotOneStillOnTheWay)
{
    QueuingCamera queue(*camera, clock, 30);
    camera->responder = [&](const QByteArray& line) {
        if (line == "GAIN-FINE")
            return queue.answer(line, "120\rOK\r");
        return queue.answer(line, line.endsWith(" 999") ? "NG\r" : "OK\r");
    };
    const qint64 start = clock.nowUs();
    for (const QByteArray line : {"GAIN-FINE 100", "GAIN-FINE 999", "GAIN-FINE 120"})
        StreamLine(connection, line);
    EXPECT_EQ(clock.nowUs(), start); // writing never waits

    EXPECT_EQ(QueryInt(connection, "GAIN-FINE"), 120);
    EXPECT_EQ(camera->receivedLines(),
              (QByteArrayList{"GAIN-FINE 100", "GAIN-FINE 999", "GAIN-FINE 120", "GAIN-FINE"}));

    // Answered lines are not waited for twice.
    const qint64 second = clock.nowUs();
    EXPECT_EQ(QueryInt(connection, "GAIN-FINE"), 120);
    EXPECT_LT(secondsSince(second), 0.05);
}

TEST_F(StreamLineTest, EveryKindOfExchangeWaitsForStreamedAnswers)
{
    const auto streamThen = [this](const std::function<void()>& exchange) {
        QueuingCamera queue(*camera, clock, 20);
        camera->responder = [&](const QByteArray& line) {
            if (line == "ID")
                return queue.answer(line, "R0560\rOK\r");
            return queue.answer(line, line == "TEMPERATURE" ? "41\rOK\r" : "OK\r");
        };
        StreamLine(connection, "RGAIN-FINE 300");
        StreamLine(connection, "RGAIN-FINE 301");
        exchange();
        camera->responder = {};
        clock.sleepMs(1000);
        ReadAvailable(connection);
    };
    streamThen([this] { EXPECT_TRUE(Transact(connection, "AWB 1", 1.0)); });
    streamThen([this] {
        int value = 0;
        EXPECT_TRUE(TryQueryInt(connection, "TEMPERATURE", value));
        EXPECT_EQ(value, 41);
    });
    streamThen([this] { EXPECT_EQ(QueryText(connection, "ID"), "R0560"); });
}

TEST_F(StreamLineTest, ACameraThatLeavesStreamedLinesUnansweredCostsTheNextExchangeOneQuietSecond)
{
    camera->responder = answering({{"GAIN-FINE", "7\rOK\r"}});
    StreamLine(connection, "GAIN-FINE 5");
    StreamLine(connection, "GAIN-FINE 6");

    const qint64 start = clock.nowUs();
    EXPECT_EQ(QueryInt(connection, "GAIN-FINE"), 7);
    EXPECT_GE(secondsSince(start), 1.0);
    EXPECT_LT(secondsSince(start), 1.1);
}

TEST_F(StreamLineTest, OnAClosedConnectionNothingIsOwed)
{
    Connection closed(clock);
    StreamLine(closed, "GAIN-FINE 5");
    EXPECT_TRUE(closed.owedAnswers().isEmpty());
}

TEST_F(TransactTest, AnswersOwedOnAClosedPortAreNotAwaitedOnTheNextOne)
{
    StreamLine(connection, "GAIN 1"); // the camera never answers it
    auto port = std::make_unique<ScriptedPort>(clock);
    camera = port.get();
    camera->responder = [](const QByteArray& line) { return line + "\rOK\r"; };
    connection.attach(std::move(port));
    const qint64 start = clock.nowUs();
    EXPECT_TRUE(Transact(connection, "GAIN 2", 1.0));
    EXPECT_LT(secondsSince(start), 0.1);
}

TEST_F(Query, ValuesAreTakenOnlyFromAnswersThatCheckOutAndAnEmptyTextIsAValue)
{
    camera->responder = answering({{"EXP", "5000\rOK\r"},
                                   {"AWB", "NG\r"},
                                   {"LINEAR-INTERPOLATION 1", "0 0\rOK\r"},
                                   {"AREA-GAIN 0", "1 64\rOK\r"},
                                   {"MODEL", "PTM-TW640\rOK\r"},
                                   {"USER-ID", "OK\r"},
                                   {"ID", "NG\r"}});
    EXPECT_EQ(QueryNumbers(connection, "EXP", "%d", 1), QList<int>{5000});
    EXPECT_EQ(QueryNumbers(connection, "AWB", "%d", 1), std::nullopt);
    EXPECT_EQ(QueryNumbers(connection, "LINEAR-INTERPOLATION 1", "%d %d", 2), (QList<int>{0, 0}));
    // Fewer values than asked for: no answer to take.
    EXPECT_EQ(QueryNumbers(connection, "AREA-GAIN 0", "%d %d %d", 3), std::nullopt);
    EXPECT_EQ(QueryTextLine(connection, "MODEL"), QByteArray("PTM-TW640"));
    EXPECT_EQ(QueryTextLine(connection, "USER-ID"), QByteArray());
    EXPECT_EQ(QueryTextLine(connection, "ID"), std::nullopt);
}

// --- Lines the link refuses to send -----------------------------------------

TEST_F(TransactTest, ALineHoldingAControlCharacterIsRefusedUnsentWithItsReason)
{
    camera->responder = [](const QByteArray& line) { return line + "\r5\rOK\r"; };
    using Send = std::function<bool(Connection&, const QByteArray&)>;
    const struct {
        const char* operation;
        Send send; // true when the line counted as sent and accepted
    } operations[] = {
        {"Transact", [](Connection& c, const QByteArray& l) { return Transact(c, l, 1.0); }},
        {"ExchangeLine",
         [](Connection& c, const QByteArray& l) { return ExchangeLine(c, l, 1000).outcome != SetOutcome::Refused; }},
        {"QueryText", [](Connection& c, const QByteArray& l) { return !QueryText(c, l).isEmpty(); }},
        {"StreamLine",
         [](Connection& c, const QByteArray& l) {
             bool refused = false;
             StreamLine(c, l, [&refused] { refused = true; });
             return !refused;
         }},
    };
    const struct {
        QByteArray line;
        QString reason;
    } lines[] = {
        {"USER-ID ab\rZZINJECT", "not sent: it holds a carriage return"},
        {"USER-ID ab\nZZ", "not sent: it holds a line feed"},
        {QByteArray("USER-ID a\0b", 11), "not sent: it holds a NUL"},
        {"GAIN\t3", "not sent: it holds a tab"},
        {"USER-ID \x1b[2J", "not sent: it holds the control character 0x1b"},
        {"USER-ID \x7f", "not sent: it holds the control character 0x7f"},
    };
    for (const auto& op : operations) {
        for (const auto& l : lines) {
            SCOPED_TRACE(op.operation + (": " + readableLine(l.line).toStdString()));
            CapturedMessages messages;
            EXPECT_FALSE(op.send(connection, l.line));
            EXPECT_EQ(camera->received, "");
            ASSERT_EQ(messages.texts.size(), 1);
            EXPECT_TRUE(messages.texts.first().startsWith('"' + readableLine(l.line) + "\" was not sent"));
            // The camera is not asked for a reason it cannot have.
            EXPECT_EQ(LastErrorText(connection), l.reason);
            EXPECT_EQ(camera->received, "");
        }
    }
    // Printable text goes out, and the next refusal's reason is the camera's again.
    EXPECT_TRUE(Transact(connection, "USER-ID a b~", 1.0));
    EXPECT_EQ(camera->received, "USER-ID a b~\r");
    EXPECT_EQ(LastErrorText(connection), "5");
}
