#include "CapturedMessages.h"
#include "Clock.h"
#include "Link.h"
#include "Ports.h"
#include "PseudoTerminal.h"
#include "SystemSerialPort.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryFile>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

// The system port against a pseudo-terminal: the test plays the camera on the
// master side.
class SystemSerialPortTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!pty.isValid())
            GTEST_SKIP() << "no pseudo-terminal available";
    }

    QByteArray readMaster(int atLeast)
    {
        QByteArray bytes;
        for (int tries = 0; tries < 200 && bytes.size() < atLeast; ++tries) {
            char buffer[256];
            const ssize_t n = ::read(pty.masterFd(), buffer, sizeof buffer);
            if (n > 0)
                bytes.append(buffer, n);
        }
        return bytes;
    }

    PseudoTerminal pty;
    CapturedMessages messages;
};

TEST_F(SystemSerialPortTest, EveryOfferedRateIsReallyApplied)
{
    auto port = OpenPort(pty.slavePath(), 38400);
    ASSERT_NE(port, nullptr) << messages.texts.join(", ").toStdString();
    EXPECT_EQ(pty.slaveBaudRate(), 38400);
    for (const qint32 rate : kOfferedRates) {
        EXPECT_TRUE(port->setLineSettings(rate)) << rate;
        EXPECT_EQ(pty.slaveBaudRate(), rate);
    }
}

TEST_F(SystemSerialPortTest, LinesGoOutAndAnswersComeBackThroughTheLink)
{
    Connection connection(SteadyClock::instance());
    connection.attach(OpenPort(pty.slavePath(), 9600));
    ASSERT_TRUE(connection.isOpen());

    SendLine(connection, "MODEL");
    EXPECT_EQ(readMaster(6), "MODEL\r");

    const QByteArray answer = "MODEL\rPTM-TW640M\rOK\r";
    ASSERT_EQ(::write(pty.masterFd(), answer.constData(), answer.size()), answer.size());
    EXPECT_EQ(ReadUntilOk(connection, 1.0), answer);
    EXPECT_EQ(ReadAvailable(connection), "");
}

TEST_F(SystemSerialPortTest, WaitingForInputTimesOutWhenNothingComes)
{
    auto port = OpenPort(pty.slavePath(), 9600);
    ASSERT_NE(port, nullptr);
    EXPECT_FALSE(port->waitReadable(20));
    EXPECT_EQ(port->bytesWaiting(), 0);
}

TEST_F(SystemSerialPortTest, APortHeldByAnotherOpenFailsWithTheMessage)
{
    auto holder = OpenPort(pty.slavePath(), 9600);
    ASSERT_NE(holder, nullptr);
    EXPECT_FALSE(ProbePort(pty.slavePath()));
    EXPECT_EQ(OpenPort(pty.slavePath(), 9600), nullptr);
    EXPECT_EQ(messages.texts, QStringList{"SerialPort is opened by another program!"});
    holder->close();
    EXPECT_TRUE(ProbePort(pty.slavePath()));
}

TEST_F(SystemSerialPortTest, AFailedOpenIsToldApartByWhatTheFileSystemSays)
{
    auto holder = OpenPort(pty.slavePath(), 9600);
    ASSERT_NE(holder, nullptr);
    QTemporaryFile plainFile;
    ASSERT_TRUE(plainFile.open());
    // Root may open anything: a refusal is what the access check says.
    const auto refused = [](const QString&) { return false; };
    const struct {
        const char* what;
        QString name;
        SystemPortBackend::AccessCheck mayOpen;
        OpenFailure failure;
    } cases[] = {
        {"held", pty.slavePath(), SystemPortBackend::mayReadAndWrite, OpenFailure::InUse},
        {"not permitted", pty.slavePath(), refused, OpenFailure::PermissionRefused},
        {"missing", "/dev/pk70-no-such-port", SystemPortBackend::mayReadAndWrite, OpenFailure::NoSuchPort},
        {"missing and not permitted", "/dev/pk70-no-such-port", refused, OpenFailure::NoSuchPort},
        {"a plain file", plainFile.fileName(), refused, OpenFailure::NotASerialPort},
        {"a device that is no terminal", "/dev/null", SystemPortBackend::mayReadAndWrite, OpenFailure::NotASerialPort},
        {"not a device name", "tty S0", SystemPortBackend::mayReadAndWrite, OpenFailure::NoSuchPort},
    };
    for (const auto& c : cases) {
        SystemPortBackend backend(c.mayOpen);
        const PortOpening opening = backend.open(c.name);
        EXPECT_EQ(opening.port, nullptr) << c.what;
        EXPECT_EQ(opening.failure, c.failure) << c.what;
    }
    SystemPortBackend refusing(refused);
    EXPECT_EQ(refusing.open(pty.slavePath()).device, pty.slavePath());
}

namespace {

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

} // namespace

TEST_F(SystemSerialPortTest, AFarEndThatHangsUpClosesThePortAtOnceWithoutSpinning)
{
    Connection connection(SteadyClock::instance());
    connection.attach(OpenPort(pty.slavePath(), 9600));
    ASSERT_TRUE(connection.isOpen());
    int lost = 0;
    QObject::connect(&connection, &Connection::lost, [&lost] { ++lost; });

    pty.hangUp();
    const qint64 startMs = SteadyClock::instance().nowMs();
    const double startCpu = cpuSeconds();
    EXPECT_EQ(QueryInt(connection, "GAIN"), 0);
    EXPECT_FALSE(Transact(connection, "GAIN 1", 1.0));

    EXPECT_LT(SteadyClock::instance().nowMs() - startMs, 500);
    EXPECT_LT(cpuSeconds() - startCpu, 0.2);
    EXPECT_FALSE(connection.isOpen());
    EXPECT_EQ(lost, 1);
}

TEST_F(SystemSerialPortTest, InputThatNobodyWaitsForIsPassedOnAndNeverPilesUp)
{
    Connection connection(SteadyClock::instance());
    connection.attach(OpenPort(pty.slavePath(), 9600));
    ASSERT_TRUE(connection.isOpen());
    qint64 passedOn = 0;
    QObject::connect(&connection, &Connection::unsolicitedInput,
                     [&passedOn](const QByteArray& bytes) { passedOn += bytes.size(); });

    // A camera that keeps talking while no exchange runs.
    ::fcntl(pty.masterFd(), F_SETFL, ::fcntl(pty.masterFd(), F_GETFL) | O_NONBLOCK);
    const QByteArray chatter(4096, 'x');
    qint64 written = 0;
    QElapsedTimer talking;
    talking.start();
    while (written < 8 * Connection::kMaxReadBytes && talking.elapsed() < 3000) {
        const ssize_t n = ::write(pty.masterFd(), chatter.constData(), size_t(chatter.size()));
        if (n > 0)
            written += n;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        ASSERT_LE(connection.port()->bytesWaiting(), Connection::kMaxReadBytes);
    }
    // What is left is collected in its next batch, a few milliseconds on.
    QElapsedTimer sinceLastWrite;
    sinceLastWrite.start();
    while (passedOn < written - Connection::kMaxReadBytes && sinceLastWrite.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_GT(written, 4 * Connection::kMaxReadBytes);
    EXPECT_GE(passedOn, written - Connection::kMaxReadBytes);
}
