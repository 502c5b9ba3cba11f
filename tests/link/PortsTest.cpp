#include "CapturedMessages.h"
#include "LinkFixture.h"
#include "Messages.h"
#include "PortBackend.h"
#include "Ports.h"
#include "SystemSerialPort.h"

#include <QTemporaryFile>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

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
    // Noise with a carriage return after it, in one piece or the return
    // coming only once the candidate has been silent for a while.
    for (const qint64 returnAfterUs : {-1, 50'000}) {
        camera->responder = [this, returnAfterUs](const QByteArray&) {
            if (returnAfterUs < 0)
                return QByteArray("\x7f\xfe\r");
            camera->sendAt(clock.nowUs() + returnAfterUs, "\r");
            return QByteArray("\x7f\xfe");
        };
        EXPECT_EQ(DetectBaudRate(connection), kNoRateFound) << returnAfterUs;
    }
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

TEST_F(DetectBaudRateTest, TheObserverSeesEachSilentCandidateAndCanCancel)
{
    QList<QPair<int, qint32>> seen;
    const qint32 found = DetectBaudRate(connection, [&](int pass, qint32 rate) {
        seen.append({pass, rate});
        return seen.size() < 12;
    });
    EXPECT_EQ(found, kNoRateFound);
    ASSERT_EQ(seen.size(), 12);
    EXPECT_EQ(seen.at(9), qMakePair(2, qint32(38400)));
    EXPECT_EQ(camera->rates.size(), 12);
}

TEST_F(DetectBaudRateTest, AClosedConnectionReturnsAtOnce)
{
    connection.close();
    const qint64 start = clock.nowUs();
    EXPECT_EQ(DetectBaudRate(connection), kNoRateFound);
    EXPECT_LT(secondsSince(start), 0.01);
}

namespace {

// Opens "fake:free"; "fake:refused" fails as a device the user may not open
// (the file named by refusedDevice); anything else as held by another program.
class FakeBackend : public PortBackend {
public:
    explicit FakeBackend(Clock& clock) : m_clock(clock) {}
    QStringList portNames() override { return {"fake:free", "fake:held"}; }
    bool claims(const QString& name) const override { return name.startsWith("fake:"); }
    PortOpening open(const QString& name) override
    {
        opened << name;
        if (name == "fake:refused")
            return PortOpening::failed(OpenFailure::PermissionRefused, refusedDevice);
        if (name != "fake:free")
            return PortOpening::failed(OpenFailure::InUse);
        auto port = std::make_unique<ScriptedPort>(m_clock);
        lastPort = port.get();
        return {std::move(port)};
    }
    QStringList opened;
    ScriptedPort* lastPort = nullptr;
    QString refusedDevice;

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

QString userName()
{
    const passwd* entry = ::getpwuid(::geteuid());
    return entry ? QString::fromLocal8Bit(entry->pw_name) : QString();
}

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

TEST_F(OpenPortTest, EachOpenFailureSaysItsCauseOnce)
{
    QTemporaryFile plainFile;
    ASSERT_TRUE(plainFile.open());
    const QString tooLong = "/dev/" + QString(5000, 'x');
    const struct {
        QString name, message;
    } cases[] = {
        {"fake:held", "SerialPort is opened by another program!"},
        {"/dev/pk70-no-such-port", "There is no port /dev/pk70-no-such-port."},
        {"ttyNoSuchPort99", "There is no port ttyNoSuchPort99."},
        {tooLong, "There is no port " + tooLong + "."},
        {"../etc/passwd", "There is no port ../etc/passwd."},
        {"tty\nS0", "There is no port tty\nS0."},
        {"COM5 ;rm", "There is no port COM5 ;rm."},
        {plainFile.fileName(), plainFile.fileName() + " is not a serial port."},
    };
    for (const auto& c : cases) {
        messages.texts.clear();
        EXPECT_EQ(OpenPort(c.name, 38400), nullptr) << qPrintable(c.name.left(40));
        EXPECT_EQ(messages.texts, QStringList{c.message});
    }
}

TEST_F(OpenPortTest, ARefusedPermissionNamesTheDeviceAndItsOwnGroup)
{
    QTemporaryFile device;
    ASSERT_TRUE(device.open());
    backend->refusedDevice = device.fileName();
    // Given to the group serial adapters usually belong to, where the tests
    // may (as root); otherwise it keeps the group it was made with.
    if (const group* dialout = ::getgrnam("dialout"))
        (void)::chown(QFile::encodeName(device.fileName()).constData(), uid_t(-1), dialout->gr_gid);
    struct stat status {};
    ASSERT_EQ(::stat(QFile::encodeName(device.fileName()).constData(), &status), 0);
    const group* owner = ::getgrgid(status.st_gid);
    ASSERT_NE(owner, nullptr);
    const QString groupName = QString::fromLocal8Bit(owner->gr_name);

    EXPECT_EQ(OpenPort("fake:refused", 9600), nullptr);
    EXPECT_EQ(messages.texts,
              QStringList{QString("Permission to open %1 was refused. Members of its group \"%2\" may open it: add "
                                  "yourself to the group (sudo usermod -aG %2 %3), then log out and back in.")
                              .arg(device.fileName(), groupName, userName())});

    // A device that cannot be looked at still names itself and the refusal.
    backend->refusedDevice = "/dev/pk70-gone";
    messages.texts.clear();
    EXPECT_EQ(OpenPort("fake:refused", 9600), nullptr);
    EXPECT_EQ(messages.texts,
              QStringList{"Permission to open /dev/pk70-gone was refused. Ask for read and write access to it."});
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
