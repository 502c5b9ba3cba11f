// The connection under faults: a port that goes away, a silent camera, a slow
// camera whose answers come after their exchanges gave up, and user actions
// that arrive while an exchange runs.
#include "Link.h"
#include "LinkFixture.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <functional>

namespace {

// A camera that works through its input one line at a time, each answer a
// fixed time after the one before, however long the host waits for it.
class SlowCamera {
public:
    SlowCamera(ScriptedPort& port, Clock& clock, int msPerLine) : m_port(port), m_clock(clock), m_msPerLine(msPerLine)
    {
        port.responder = [this](const QByteArray& line) {
            // The echo goes out as the camera reads the line, after the lines before it.
            m_freeAtUs = qMax(m_freeAtUs, m_clock.nowUs());
            m_port.sendAt(m_freeAtUs, line + '\r');
            m_freeAtUs += m_msPerLine * 1000;
            m_port.sendAt(m_freeAtUs, answerTo(line));
            return QByteArray();
        };
    }

    static QByteArray answerTo(const QByteArray& line)
    {
        if (line == "GAIN")
            return "12\rOK\r";
        if (line == "MODEL")
            return "PTM-R560CL\rOK\r";
        if (line == "AREA")
            return "10 20\rOK\r";
        return line.endsWith(" 999") ? "NG\r" : "OK\r";
    }

private:
    ScriptedPort& m_port;
    Clock& m_clock;
    int m_msPerLine;
    qint64 m_freeAtUs = 0;
};

void countLost(Connection& connection, int& lostCount)
{
    QObject::connect(&connection, &Connection::lost, [&lostCount](const QString&) { ++lostCount; });
}

// Hands the connection a port that forwards to a scripted one the test keeps,
// so that what the camera received can be looked at after the connection
// has closed and destroyed its port.
class ForwardingPort : public SerialPort {
public:
    explicit ForwardingPort(ScriptedPort& port) : m_port(port) {}
    bool setLineSettings(qint32 rate) override { return m_port.setLineSettings(rate); }
    qint64 bytesWaiting() override { return m_port.bytesWaiting(); }
    QByteArray read(qint64 maxBytes) override { return m_port.read(maxBytes); }
    qint64 write(const QByteArray& bytes) override { return m_port.write(bytes); }
    bool waitReadable(int timeoutMs) override { return m_port.waitReadable(timeoutMs); }
    void close() override { m_port.close(); }
    bool isLost() const override { return m_port.isLost(); }

private:
    ScriptedPort& m_port;
};

} // namespace

class LostPort : public ::testing::Test {
protected:
    LostPort() { reopen(); }
    void reopen()
    {
        connection.close();
        camera = std::make_unique<ScriptedPort>(clock);
        connection.attach(std::make_unique<ForwardingPort>(*camera));
    }
    double secondsSince(qint64 startUs) { return (clock.nowUs() - startUs) / 1e6; }

    VirtualClock clock;
    std::unique_ptr<ScriptedPort> camera; // outlives the connection's port
    Connection connection{clock};
};

TEST_F(LostPort, AHangUpInTheMiddleOfAnAnswerEndsEveryExchangeAtOnceAndIsReportedOnce)
{
    int lost = 0;
    countLost(connection, lost);
    camera->responder = [this](const QByteArray& line) {
        camera->hungUp = true; // the camera hangs up after reading the line
        return line + '\r';
    };
    const qint64 start = clock.nowUs();
    EXPECT_EQ(QueryInt(connection, "GAIN"), 0);
    EXPECT_FALSE(connection.isOpen());
    EXPECT_TRUE(connection.wasLost());
    EXPECT_LT(secondsSince(start), 0.05);

    const QByteArray writtenBefore = camera->received;
    EXPECT_FALSE(Transact(connection, "GAIN 1", 1.0));
    int value = 5;
    EXPECT_FALSE(TryQueryInt(connection, "TEMPERATURE", value));
    EXPECT_TRUE(QueryText(connection, "MODEL").isEmpty());
    QByteArrayList choices;
    QueryChoices(connection, "TRG-MODE", choices);
    EXPECT_TRUE(choices.isEmpty());
    EXPECT_LT(secondsSince(start), 0.05);
    EXPECT_EQ(camera->received, writtenBefore);
    EXPECT_EQ(lost, 1);
}

TEST_F(LostPort, ALossIsNoticedWhereverTheExchangeIsWaiting)
{
    // Hang-ups before the line is written, after the echo, and while a
    // streamed line's answer is awaited.
    const std::vector<std::function<void()>> exchanges = {
        [this] { Transact(connection, "GAIN 1", 1.0); },
        [this] { QueryInt(connection, "GAIN"); },
        [this] {
            StreamLine(connection, "GAIN-FINE 5");
            QueryInt(connection, "GAIN-FINE");
        },
        [this] { AwaitLineEnds(connection, 1.0); },
    };
    for (size_t i = 0; i < exchanges.size(); ++i) {
        reopen();
        camera->hungUp = true;
        const qint64 start = clock.nowUs();
        exchanges[i]();
        EXPECT_FALSE(connection.isOpen()) << i;
        EXPECT_LT(secondsSince(start), 0.05) << i;
        EXPECT_LE(camera->waits, 1) << i;
    }
}

TEST_F(LostPort, ReopeningClearsTheLoss)
{
    camera->hungUp = true;
    QueryInt(connection, "GAIN");
    ASSERT_TRUE(connection.wasLost());
    reopen();
    camera->responder = [](const QByteArray& line) { return line + "\r12\rOK\r"; };
    EXPECT_FALSE(connection.wasLost());
    EXPECT_EQ(QueryInt(connection, "GAIN"), 12);
}

using Waiting = LinkFixture;

TEST_F(Waiting, APortThatReturnsAtOnceWithoutBytesIsNeverSpunOn)
{
    // A device in an error state that cannot say so: every wait returns at
    // once. The exchange still takes its time-out, in 10 ms slices.
    camera->hungUp = true;
    camera->hidesHangUp = true;
    const qint64 start = clock.nowUs();
    EXPECT_FALSE(Transact(connection, "GAIN 12", 1.0));
    EXPECT_GE(secondsSince(start), 1.0);
    EXPECT_LE(camera->waits, 210);
    EXPECT_TRUE(connection.isOpen());
}

using SilentLoad = LinkFixture;

TEST_F(SilentLoad, ARefreshOnADeadLineCostsOneTimeOut)
{
    const qint64 start = clock.nowUs();
    {
        Connection::LoadScope load(connection);
        for (int i = 0; i < 43; ++i)
            QueryInt(connection, "GAIN");
        int value = 0;
        TryQueryInt(connection, "TEMPERATURE", value);
        EXPECT_FALSE(Transact(connection, "GAIN 1", 1.0));
    }
    EXPECT_LE(secondsSince(start), 11.01);
    EXPECT_EQ(camera->receivedLines(), QByteArrayList{"GAIN"});

    // The next load asks again.
    camera->responder = [](const QByteArray& line) { return line + "\r7\rOK\r"; };
    Connection::LoadScope next(connection);
    EXPECT_EQ(QueryInt(connection, "GAIN"), 7);
}

TEST_F(SilentLoad, ACameraThatAnswersOrRefusesIsNotSilent)
{
    for (const QByteArray ending : {"NG\r", "ERROR\r", "OK\r"}) {
        camera->responder = [ending](const QByteArray& line) { return line + '\r' + ending; };
        camera->received.clear();
        Connection::LoadScope load(connection);
        QueryInt(connection, "A");
        QueryInt(connection, "B");
        EXPECT_EQ(camera->receivedLines(), (QByteArrayList{"A", "B"})) << ending.constData();
    }
}

TEST_F(SilentLoad, OutsideALoadEveryExchangeTriesAgain)
{
    QueryInt(connection, "A");
    QueryInt(connection, "B");
    EXPECT_EQ(camera->receivedLines(), (QByteArrayList{"A", "B"}));
}

using LateAnswers = LinkFixture;

TEST_F(LateAnswers, AnAnswerThatComesAfterItsExchangeGaveUpIsNeverTakenForTheNextOne)
{
    // 2.5 s per answer: every Transact of 1.0 s (1 to 2 s) gives up before its answer is in.
    const std::vector<std::pair<const char*, std::function<void()>>> queries = {
        {"QueryInt", [this] { EXPECT_EQ(QueryInt(connection, "GAIN"), 12); }},
        {"TryQueryInt",
         [this] {
             int value = 0;
             EXPECT_TRUE(TryQueryInt(connection, "GAIN", value));
             EXPECT_EQ(value, 12);
         }},
        {"QueryInts",
         [this] {
             int x = 0, y = 0;
             EXPECT_TRUE(QueryInts(connection, "AREA", "%d %d", {&x, &y}));
             EXPECT_EQ(y, 20);
         }},
        {"refused Transact", [this] { EXPECT_EQ(TransactOutcome(connection, "GAIN 999", 5.0), SetOutcome::Refused); }},
        {"accepted Transact", [this] { EXPECT_EQ(TransactOutcome(connection, "GAIN 7", 5.0), SetOutcome::Accepted); }},
    };
    for (const auto& [name, check] : queries) {
        auto port = std::make_unique<ScriptedPort>(clock);
        camera = port.get();
        connection.attach(std::move(port));
        SlowCamera slow(*camera, clock, 2500);
        EXPECT_EQ(TransactOutcome(connection, "GAIN 5", 1.0), SetOutcome::NoAnswer) << name;
        check();
    }
}

TEST_F(LateAnswers, QueryTextWaitsForASlowCameraAndLeavesNoLateLineBehind)
{
    SlowCamera slow(*camera, clock, 2500);
    EXPECT_FALSE(Transact(connection, "GAIN 5", 1.0));
    EXPECT_EQ(QueryText(connection, "MODEL"), "PTM-R560CL");
    EXPECT_EQ(QueryInt(connection, "GAIN"), 12);
}

TEST_F(LateAnswers, StaleInputBeforeAnExchangeIsPassedOnNotTakenAsTheAnswer)
{
    QByteArray passedOn;
    QObject::connect(&connection, &Connection::unsolicitedInput, [&](const QByteArray& bytes) { passedOn += bytes; });
    camera->sendAt(clock.nowUs(), "HELLO\r");
    camera->responder = [](const QByteArray& line) { return line + "\r3\rOK\r"; };
    EXPECT_EQ(QueryInt(connection, "GAIN"), 3);
    EXPECT_EQ(passedOn, "HELLO\r");
}

TEST_F(LateAnswers, InputReadAlongWithAnAnswerIsPassedOnWithoutWaitingForTheNextExchange)
{
    QByteArray passedOn;
    QObject::connect(&connection, &Connection::unsolicitedInput, [&](const QByteArray& bytes) { passedOn += bytes; });
    camera->responder = [](const QByteArray& line) { return line + "\r3\rOK\rHELLO\r"; };
    EXPECT_EQ(QueryInt(connection, "GAIN"), 3);
    QElapsedTimer waited;
    waited.start();
    while (passedOn.isEmpty() && waited.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    EXPECT_EQ(passedOn, "HELLO\r");
}

using OwedAnswersTest = LinkFixture;

TEST_F(OwedAnswersTest, ARefusedStreamedLineRunsItsHandlerOnceItsAnswerIsIn)
{
    camera->responder = [](const QByteArray& line) {
        return line + '\r' + (line == "GAIN-FINE 999" ? "NG\r" : line == "GAIN-FINE" ? "5\rOK\r" : "OK\r");
    };
    QByteArrayList refused;
    for (const QByteArray line : {"GAIN-FINE 5", "GAIN-FINE 999"})
        StreamLine(connection, line, [&, line] { refused.append(line); });
    // The next exchange collects the owed answers before its own.
    EXPECT_EQ(QueryInt(connection, "GAIN-FINE"), 5);
    EXPECT_EQ(refused, QByteArrayList{"GAIN-FINE 999"});
}
