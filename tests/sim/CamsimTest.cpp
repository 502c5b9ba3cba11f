#include "CapturedMessages.h"
#include "Clock.h"
#include "Connection.h"
#include "Link.h"
#include "Ports.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// camsim over a real pseudo-terminal, reached through the system's serial
// port as the application reaches a camera. Real time, kept short.

class Camsim : public ::testing::Test {
protected:
    ~Camsim() override { stop(); }

    void start(const QStringList& arguments)
    {
        process.start(QStringLiteral(CAMSIM_PATH), arguments);
        ASSERT_TRUE(process.waitForStarted(3000));
        while (!process.canReadLine() && process.waitForReadyRead(3000)) {
        }
        ASSERT_TRUE(process.canReadLine()) << process.readAllStandardError().toStdString();
        devicePath = QString::fromLocal8Bit(process.readLine()).trimmed();
        ASSERT_TRUE(devicePath.startsWith("/dev/")) << devicePath.toStdString();
    }

    void stop()
    {
        if (process.state() == QProcess::NotRunning)
            return;
        process.terminate();
        if (!process.waitForFinished(3000))
            process.kill();
        process.waitForFinished(1000);
    }

    void open(const QString& path, qint32 rate)
    {
        connection.attach(OpenPort(path, rate));
        ASSERT_TRUE(connection.isOpen()) << messages.texts.join(", ").toStdString();
    }

    QProcess process;
    QString devicePath;
    QTemporaryDir dir;
    CapturedMessages messages;
    Connection connection{SteadyClock::instance()};
};

class CamsimRates : public Camsim, public ::testing::WithParamInterface<qint32> {};

TEST_P(CamsimRates, DetectionFindsTheRateAndModelIdentifiesTheCamera)
{
    start({"--model", "PTM-TW640M", "--rate", QString::number(GetParam())});
    open(devicePath, 38400);
    EXPECT_EQ(DetectBaudRate(connection), GetParam());
    EXPECT_EQ(QueryText(connection, "MODEL"), "PTM-TW640M");
}

INSTANTIATE_TEST_SUITE_P(Sim, CamsimRates, ::testing::Values(14400, 57600));

TEST_F(Camsim, TheLinkLeadsToTheDeviceAndTheLogHoldsEveryLineWithItsTime)
{
    const QString link = dir.filePath("camera");
    const QString log = dir.filePath("lines.log");
    start({"--model", "PTM-R290CL", "--rate", "115200", "--link", link, "--log", log});
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), devicePath);

    open(link, 115200);
    EXPECT_TRUE(Transact(connection, "EXP 5000", 1.0));
    EXPECT_EQ(QueryInt(connection, "EXP"), 5000);
    EXPECT_EQ(QueryInt(connection, "SENSOR-TAP"), 2);
    connection.close();
    stop();

    EXPECT_FALSE(QFileInfo::exists(link));
    QFile file(log);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList lines = QString::fromLatin1(file.readAll()).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    const QRegularExpression stamped(R"re(^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}  "(.*)"$)re");
    QStringList received;
    for (const QString& line : lines) {
        const QRegularExpressionMatch match = stamped.match(line);
        EXPECT_TRUE(match.hasMatch()) << line.toStdString();
        received.append(match.captured(1));
    }
    EXPECT_EQ(received, (QStringList{"EXP 5000", "EXP", "SENSOR-TAP"}));
}

TEST_F(Camsim, TheDeviceOpensAgainAfterItWasClosedAndTheCameraKeepsItsSettings)
{
    start({"--model", "PTM-TW640", "--rate", "9600"});
    for (int round = 0; round < 3; ++round) {
        open(devicePath, 9600);
        EXPECT_EQ(QueryInt(connection, "GAIN-FINE"), round * 10) << round;
        EXPECT_TRUE(Transact(connection, setLine("GAIN-FINE", (round + 1) * 10), 1.0));
        connection.close();
    }
}

TEST_F(Camsim, LinesSentAtAnotherRateAreNotUnderstood)
{
    start({"--model", "PTM-TW640M", "--rate", "9600"});
    open(devicePath, 38400);
    SendLine(connection, "MODEL");
    SteadyClock::instance().sleepMs(150);
    EXPECT_EQ(ReadAvailable(connection), "");
    connection.port()->setLineSettings(9600);
    EXPECT_EQ(QueryText(connection, "MODEL"), "PTM-TW640M");
}

TEST_F(Camsim, DropAfterHangsUpOnceTheAnswerIsOut)
{
    start({"--model", "PTM-6006", "--drop-after", "1"});
    open(devicePath, 9600);
    EXPECT_TRUE(Transact(connection, "EXP 500", 1.0));
    EXPECT_TRUE(process.waitForFinished(2000));
    EXPECT_EQ(process.exitCode(), 0);
}

TEST_F(Camsim, HelpExplainsEveryOption)
{
    QProcess help;
    help.start(QStringLiteral(CAMSIM_PATH), {"--help"});
    ASSERT_TRUE(help.waitForFinished(3000));
    const QString text = QString::fromLocal8Bit(help.readAllStandardOutput());
    for (const char* option : {"--model", "--rate", "--latency", "--log", "--link", "--silent", "--slow", "--garbage",
                               "--overlong", "--refuse", "--drop-after", "--endless-detections", "PTM-TW640M", "PTM-R140ML"})
        EXPECT_TRUE(text.contains(option)) << option;
}

TEST_F(Camsim, AnUnknownModelIsRefusedWithTheListOfModels)
{
    QProcess wrong;
    wrong.start(QStringLiteral(CAMSIM_PATH), {"--model", "PTM-X"});
    ASSERT_TRUE(wrong.waitForFinished(3000));
    EXPECT_EQ(wrong.exitCode(), 2);
    EXPECT_TRUE(QString::fromLocal8Bit(wrong.readAllStandardError()).contains("PTM-TW640"));
}
