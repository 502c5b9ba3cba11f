#include "CapturedMessages.h"
#include "LinkFixture.h"
#include "Messages.h"
#include "PortBackend.h"
#include "Ports.h"
#include "SystemSerialPort.h"

namespace {

// Answers an empty line with a carriage return, but only at its own rate.
void listenAt(ScriptedPort* camera, qint32 rate)
{
    camera->responder = [camera, rate](const QByteArray& line) -> QByteArray {
        if (!line.isEmpty() || camera->rates.isEmpty() || camera->rates.last() != rate)
            return {};
        return "\r";
    };
    camera->replyDelayMs = 2;
}

} // namespace

using DetectBaudRateTest = LinkFixture;

TEST_F(DetectBaudRateTest, FindsTheCameraInTheFirstPassAfterTheFailedCandidates)
{
    listenAt(camera, 115200);
    EXPECT_EQ(DetectBaudRate(connection), 115200);
    EXPECT_EQ(camera->rates, (QList<qint32>{38400, 57600, 19200, 14400, 9600, 115200}));
    // Each attempt writes two carriage returns.
    EXPECT_EQ(camera->received, QByteArray(12, '\r'));
}

TEST_F(DetectBaudRateTest, WithNoCameraReturns4800AfterAllAttemptsAtTheLastRate)
{
    const qint64 start = clock.nowUs();
    EXPECT_EQ(DetectBaudRate(connection), kNoRateFound);
    EXPECT_EQ(camera->rates.size(), 270);
    EXPECT_EQ(camera->rates.last(), 921600);
    EXPECT_GE(secondsSince(start), 27.0);
}

TEST_F(DetectBaudRateTest, AnAnswerThatDoesNotBeginWithACarriageReturnDoesNotCount)
{
    camera->responder = [](const QByteArray&) { return QByteArray("\x7f\xfe\r"); };
    EXPECT_EQ(DetectBaudRate(connection), kNoRateFound);
}

TEST_F(DetectBaudRateTest, RatesThePortCannotRunAreSkippedWithoutAPause)
{
    camera->unsupportedRates = {14400};
    listenAt(camera, 9600);
    const qint64 start = clock.nowUs();
    EXPECT_EQ(DetectBaudRate(connection), 9600);
    EXPECT_EQ(camera->rates, (QList<qint32>{38400, 57600, 19200, 9600}));
    EXPECT_LT(secondsSince(start), 0.45);
}

TEST_F(DetectBaudRateTest, TheObserverSeesEachCandidateAndCanCancel)
{
    QList<QPair<int, qint32>> seen;
    const qint32 found = DetectBaudRate(connection, [&](int pass, qint32 rate) {
        seen.append({pass, rate});
        return seen.size() < 12;
    });
    EXPECT_EQ(found, kNoRateFound);
    ASSERT_EQ(seen.size(), 12);
    EXPECT_EQ(seen.at(9), qMakePair(2, qint32(38400)));
    EXPECT_EQ(camera->rates.size(), 11);
}

TEST_F(DetectBaudRateTest, AClosedConnectionReturnsAtOnce)
{
    connection.close();
    const qint64 start = clock.nowUs();
    EXPECT_EQ(DetectBaudRate(connection), kNoRateFound);
    EXPECT_LT(secondsSince(start), 0.01);
}

namespace {

class FakeBackend : public PortBackend {
public:
    explicit FakeBackend(Clock& clock) : m_clock(clock) {}
    QStringList portNames() override { return {"fake:free", "fake:held"}; }
    bool claims(const QString& name) const override { return name.startsWith("fake:"); }
    std::unique_ptr<SerialPort> open(const QString& name) override
    {
        opened << name;
        if (name != "fake:free")
            return nullptr;
        auto port = std::make_unique<ScriptedPort>(m_clock);
        lastPort = port.get();
        return port;
    }
    QStringList opened;
    ScriptedPort* lastPort = nullptr;

private:
    Clock& m_clock;
};

class OpenPortTest : public ::testing::Test {
protected:
    OpenPortTest() { PortRegistry::instance().add(backend); }
    ~OpenPortTest() override { PortRegistry::instance().remove(backend); }
    VirtualClock clock;
    std::shared_ptr<FakeBackend> backend = std::make_shared<FakeBackend>(clock);
    CapturedMessages messages;
};

} // namespace

TEST_F(OpenPortTest, OpensThroughTheBackendThatClaimsTheNameAndAppliesTheRate)
{
    auto port = OpenPort("fake:free", 19200);
    ASSERT_NE(port, nullptr);
    EXPECT_EQ(backend->lastPort->rates, QList<qint32>{19200});
    EXPECT_TRUE(messages.texts.isEmpty());
    EXPECT_TRUE(listedPortNames().endsWith("fake:held"));
}

TEST_F(OpenPortTest, AnEmptyNameFailsSilently)
{
    EXPECT_EQ(OpenPort("", 38400), nullptr);
    EXPECT_TRUE(messages.texts.isEmpty());
    EXPECT_TRUE(backend->opened.isEmpty());
}

TEST_F(OpenPortTest, AnyOpenFailureShowsThePortInUseMessage)
{
    const QString tooLong = "/dev/" + QString(5000, 'x');
    for (const QString& name : {QString("fake:held"), QString("/dev/pk70-no-such-port"),
                                QString("ttyNoSuchPort99"), tooLong, QString("../etc/passwd"),
                                QString("tty\nS0"), QString("COM5 ;rm")}) {
        messages.texts.clear();
        EXPECT_EQ(OpenPort(name, 38400), nullptr) << qPrintable(name.left(40));
        EXPECT_EQ(messages.texts, QStringList{"SerialPort is opened by another program!"});
    }
}

TEST_F(OpenPortTest, ProbePortTellsWhetherAPortOpensAndShowsNothing)
{
    EXPECT_TRUE(ProbePort("fake:free"));
    EXPECT_FALSE(ProbePort("fake:held"));
    EXPECT_FALSE(ProbePort(""));
    EXPECT_TRUE(messages.texts.isEmpty());
}

TEST(SystemPortNames, BareNamesLiveUnderDevAndPathsAreTakenAsTheyAre)
{
    EXPECT_EQ(SystemPortBackend::devicePath("ttyUSB0"), "/dev/ttyUSB0");
    EXPECT_EQ(SystemPortBackend::devicePath("/dev/pts/3"), "/dev/pts/3");
    EXPECT_EQ(SystemPortBackend::devicePath("/tmp/camera"), "/tmp/camera");
    EXPECT_EQ(SystemPortBackend::devicePath(""), "");
    EXPECT_EQ(SystemPortBackend::devicePath("pts/3"), "");
    EXPECT_EQ(SystemPortBackend::devicePath(".."), "");
    EXPECT_EQ(SystemPortBackend::devicePath(QString(100, 'a')), "");
}
