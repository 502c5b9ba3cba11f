#include "Link.h"
#include "LinkFixture.h"
#include "Ports.h"
#include "WireLog.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

namespace {

// An entry as the log shows it, without its time: `-> "GAIN 12\r"`.
QString withoutTime(const WireLogEntry& entry)
{
    const QString line = formatWireLogEntry(entry);
    return line.mid(line.indexOf(QLatin1String(" ms  ")) + 5);
}

} // namespace

// The log fed by a connection on virtual time to a scripted camera.
class WireLogTest : public LinkFixture {
protected:
    WireLogTest() { connection.setWireLog(&log); }

    // Every entry kept, without the times and without notes.
    QStringList lines() const
    {
        QStringList shown;
        for (qsizetype i = 0; i < log.size(); ++i) {
            if (log.at(i).kind != WireLogEntry::Kind::Note)
                shown << withoutTime(log.at(i));
        }
        return shown;
    }

    WireLog log;
};

TEST(WireLogFormat, ShowsTheTimeTheDirectionAndEveryControlCharacterVisibly)
{
    const struct {
        WireLogEntry entry;
        const char* shown;
    } cases[] = {
        {{WireLogEntry::Kind::Sent, 1234567, "GAIN-FINE 50\r"}, R"(  1234.567 ms  ->  "GAIN-FINE 50\r")"},
        {{WireLogEntry::Kind::Received, 0, "\r"}, R"(     0.000 ms  <-  "\r")"},
        // Blanks at either end stay visible between the quotes.
        {{WireLogEntry::Kind::Sent, 1500, "CR-TF  5 \r"}, R"(     1.500 ms  ->  "CR-TF  5 \r")"},
        {{WireLogEntry::Kind::Received, 2000, "a\"b\\c\n\t\x01\xff\r"}, R"(     2.000 ms  <-  "a\"b\\c\n\t\x01\xff\r")"},
        {{WireLogEntry::Kind::Received, 3000, "PTM-TW6", true},
         R"(     3.000 ms  <-  "PTM-TW6"  (partial: the line had not ended))"},
        {{WireLogEntry::Kind::Note, 0, "opened sim:PTM-TW640M at 9600 baud"},
         "     0.000 ms  --  opened sim:PTM-TW640M at 9600 baud"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatWireLogEntry(c.entry), QString::fromLatin1(c.shown));
}

TEST_F(WireLogTest, AQueryIsLoggedLineByLineInBothDirections)
{
    camera->responder = [](const QByteArray& line) { return line + "\r12\rOK\r"; };
    EXPECT_EQ(QueryInt(connection, "GAIN"), 12);
    EXPECT_EQ(lines(), (QStringList{R"(->  "GAIN\r")", R"(<-  "GAIN\r")", R"(<-  "12\r")", R"(<-  "OK\r")"}));
}

TEST_F(WireLogTest, AnAnswerReadInPiecesIsLoggedOnceWholeAtEveryCut)
{
    const QByteArray answer = "GAIN 12\rOK\r";
    for (qsizetype cut = 1; cut < answer.size(); ++cut) {
        log.clear();
        camera->responder = [&](const QByteArray&) {
            camera->sendAfterMs(10, answer.left(cut));
            camera->sendAfterMs(40, answer.mid(cut));
            return QByteArray();
        };
        EXPECT_TRUE(Transact(connection, "GAIN 12", 1.0)) << cut;
        EXPECT_EQ(lines(), (QStringList{R"(->  "GAIN 12\r")", R"(<-  "GAIN 12\r")", R"(<-  "OK\r")"})) << cut;
    }
}

TEST_F(WireLogTest, ALinePendingAtATimeOutAppearsMarkedPartialWhenTheNextBytesCome)
{
    camera->responder = [](const QByteArray& line) { return line + "\rPTM-TW6"; };
    EXPECT_EQ(QueryText(connection, "MODEL"), QByteArray());
    // Not an entry yet: the rest of the line may still come.
    EXPECT_EQ(lines(), (QStringList{R"(->  "MODEL\r")", R"(<-  "MODEL\r")"}));
    ASSERT_EQ(log.pendingLines().size(), 1u);
    EXPECT_EQ(withoutTime(log.pendingLines().front()), R"(<-  "PTM-TW6"  (partial: the line had not ended))");

    camera->responder = {};
    SendLine(connection, "VERSION");
    EXPECT_EQ(lines(), (QStringList{R"(->  "MODEL\r")", R"(<-  "MODEL\r")",
                                    R"(<-  "PTM-TW6"  (partial: the line had not ended))", R"(->  "VERSION\r")"}));
    EXPECT_TRUE(log.pendingLines().empty());
}

TEST(WireLogLimits, AnOverLongLineIsLoggedInBoundedPiecesThatAddUpToIt)
{
    constexpr qsizetype max = WireLog::kMaxEntryBytes;
    // Line lengths around the limit, arriving in one read or in two.
    for (const qsizetype length : {max - 1, max, max + 1, 3 * max + 7}) {
        for (const bool inTwoReads : {false, true}) {
            WireLog log;
            const QByteArray line = QByteArray(length, 'x') + '\r';
            const qsizetype cut = inTwoReads ? max / 2 : line.size();
            log.received(line.first(cut), 0);
            log.received(line.sliced(cut), 0);
            QByteArray whole;
            for (qsizetype i = 0; i < log.size(); ++i) {
                SCOPED_TRACE(testing::Message() << "length " << length << ", entry " << i);
                EXPECT_LE(log.at(i).bytes.size(), max);
                EXPECT_EQ(log.at(i).partial, i + 1 < log.size());
                whole += log.at(i).bytes;
            }
            EXPECT_EQ(whole, line) << "length " << length;
            EXPECT_TRUE(log.pendingLines().empty());
        }
    }
}

TEST_F(WireLogTest, APartialLineIsLoggedWhenThePortCloses)
{
    camera->sendAt(clock.nowUs(), "GAIN 1");
    ReadAvailable(connection);
    connection.close();
    EXPECT_EQ(lines(), (QStringList{R"(<-  "GAIN 1"  (partial: the line had not ended))"}));
    EXPECT_EQ(withoutTime(log.at(log.size() - 1)), "--  closed");
}

TEST_F(WireLogTest, TimesAreCountedFromTheOpeningOfThePort)
{
    clock.sleepMs(1500);
    SendLine(connection, "MODEL");
    EXPECT_EQ(log.at(log.size() - 1).us, 1500000);

    connection.portName = "COM7";
    connection.baudRate = 9600;
    connection.attach(std::make_unique<ScriptedPort>(clock));
    clock.sleepMs(250);
    SendLine(connection, "MODEL");
    EXPECT_EQ(withoutTime(log.at(log.size() - 2)), "--  opened COM7 at 9600 baud");
    EXPECT_EQ(log.at(log.size() - 1).us, 250000);
}

TEST_F(WireLogTest, DetectionShowsEachRateItsEmptyLinesAndTheCamerasAnswer)
{
    camera->responder = [this](const QByteArray&) { return camera->rates.last() == 19200 ? "\r" : ""; };
    EXPECT_EQ(DetectBaudRate(connection), 19200);
    QStringList shown;
    for (qsizetype i = 1; i < log.size(); ++i)
        shown << withoutTime(log.at(i));
    EXPECT_EQ(shown, (QStringList{"--  38400 baud", R"(->  "\r")", R"(->  "\r")", "--  57600 baud", R"(->  "\r")",
                                  R"(->  "\r")", "--  19200 baud", R"(->  "\r")", R"(->  "\r")", R"(<-  "\r")", R"(<-  "\r")"}));
}

TEST_F(WireLogTest, KeepsTheLastTenThousandLinesWithTimesThatNeverDecrease)
{
    camera->responder = [](const QByteArray& line) { return line + "\rOK\r"; };
    camera->replyDelayMs = 0.05;
    constexpr int kCommands = 3400; // three lines each, over 10,000 in all
    for (int i = 0; i < kCommands; ++i) {
        SendLine(connection, "GAIN " + QByteArray::number(i));
        clock.sleepUs(100);
        ReadAvailable(connection);
    }
    ASSERT_EQ(log.size(), 10000);
    EXPECT_EQ(log.appendedCount(), 1 + 3 * kCommands);
    // The newest lines are kept, the oldest dropped.
    EXPECT_EQ(withoutTime(log.at(log.size() - 1)), R"(<-  "OK\r")");
    EXPECT_EQ(withoutTime(log.at(log.size() - 3)), R"(->  "GAIN 3399\r")");
    EXPECT_EQ(withoutTime(log.at(0)), R"(<-  "OK\r")");
    EXPECT_EQ(withoutTime(log.at(1)), R"(->  "GAIN 67\r")");
    for (qsizetype i = 1; i < log.size(); ++i)
        ASSERT_LE(log.at(i - 1).us, log.at(i).us) << i;
    EXPECT_GT(log.at(log.size() - 1).us, log.at(0).us);
}

TEST_F(WireLogTest, WritingTheLogGivesEveryLineKeptThenThePendingOne)
{
    camera->sendAt(clock.nowUs(), "MODEL\rPTM");
    ReadAvailable(connection);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(log.writeTo(buffer));
    const QStringList written = QString::fromUtf8(buffer.data()).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(written.size(), 3);
    EXPECT_TRUE(written.at(0).endsWith("opened  at 38400 baud")) << written.at(0).toStdString();
    EXPECT_TRUE(written.at(1).endsWith(R"(<-  "MODEL\r")"));
    EXPECT_TRUE(written.at(2).endsWith(R"(<-  "PTM"  (partial: the line had not ended))"));
    // Writing does not end the line: its rest still completes it.
    camera->sendAt(clock.nowUs(), "-TW640M\r");
    ReadAvailable(connection);
    EXPECT_EQ(lines().last(), R"(<-  "PTM-TW640M\r")");
}

TEST_F(WireLogTest, TheFileGetsEachLineAtOnceAndKeepsWhatItHeldBefore)
{
    QTemporaryDir directory;
    const QString path = directory.filePath("wire.log");
    {
        QFile earlier(path);
        ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
        earlier.write("an earlier run\n");
    }
    const auto fileLines = [&path] {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    };
    QString error;
    auto file = WireLogFile::open(log, path, &error);
    ASSERT_NE(file, nullptr) << error.toStdString();
    SendLine(connection, "GAIN-FINE 50");
    camera->sendAt(clock.nowUs(), "GAIN-FINE 5");
    ReadAvailable(connection);
    QStringList written = fileLines();
    ASSERT_EQ(written.size(), 2);
    EXPECT_EQ(written.at(0), "an earlier run");
    EXPECT_TRUE(written.at(1).endsWith(R"(->  "GAIN-FINE 50\r")"));

    file.reset();
    written = fileLines();
    ASSERT_EQ(written.size(), 3);
    EXPECT_TRUE(written.at(2).endsWith(R"(<-  "GAIN-FINE 5"  (partial: the line had not ended))"));
}

TEST(WireLogFileTest, AFileThatCannotBeWrittenSaysWhy)
{
    WireLog log;
    QString error;
    EXPECT_EQ(WireLogFile::open(log, "/nonexistent-folder/wire.log", &error), nullptr);
    EXPECT_TRUE(error.startsWith("cannot write the wire log to /nonexistent-folder/wire.log: ")) << error.toStdString();
}
