#include "CtlResult.h"
#include "QtPrinters.h"
#include "Ser2net.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// The pk70ctl program itself, in real time: against camsim serving a camera on
// a pseudo-terminal, and against a simulated camera of its own.
class Pk70ctlProcess : public ::testing::Test {
protected:
    ~Pk70ctlProcess() override
    {
        if (camsim.state() != QProcess::NotRunning) {
            camsim.terminate();
            if (!camsim.waitForFinished(3000))
                camsim.kill();
            camsim.waitForFinished(1000);
        }
    }

    // Starts camsim with a PTM-TW640M at 57600 baud; the device path is kept.
    void startCamsim(const QStringList& faults = {})
    {
        camsim.start(QStringLiteral(PK_CAMSIM_PATH), QStringList{"--model", "PTM-TW640M", "--rate", "57600"} + faults);
        ASSERT_TRUE(camsim.waitForStarted(3000));
        while (!camsim.canReadLine() && camsim.waitForReadyRead(3000)) {
        }
        device = QString::fromLocal8Bit(camsim.readLine()).trimmed();
        ASSERT_TRUE(device.startsWith("/dev/")) << camsim.readAllStandardError().toStdString();
    }

    using Result = CtlResult;

    Result pk70ctl(const QStringList& arguments, const QByteArray& input = {})
    {
        QProcess process;
        QElapsedTimer timer;
        timer.start();
        process.start(QStringLiteral(PK70CTL_PATH), arguments);
        EXPECT_TRUE(process.waitForStarted(3000));
        process.write(input);
        process.closeWriteChannel();
        EXPECT_TRUE(process.waitForFinished(20000));
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromLocal8Bit(process.readAllStandardOutput()),
                QString::fromLocal8Bit(process.readAllStandardError()), timer.elapsed() / 1000.0};
    }

    QProcess camsim;
    QString device;
};

TEST_F(Pk70ctlProcess, SetsAndReadsBackAGainOnASimulatedCameraAndLogsTheWire)
{
    QTemporaryDir directory;
    const QString log = directory.filePath("wire.log");
    const Result result = pk70ctl({"--port", "sim:PTM-TW640M", "--wire-log", log, "GAIN-FINE", "50", "GAIN-FINE"});
    EXPECT_EQ(result.status, 0) << result.err.toStdString();
    EXPECT_EQ(result.out, "50\n");
    QFile file(log);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString wire = QString::fromUtf8(file.readAll());
    const qsizetype set = wire.indexOf(R"(->  "GAIN-FINE 50\r")");
    const qsizetype read = wire.indexOf(R"(->  "GAIN-FINE\r")");
    ASSERT_GE(set, 0) << wire.toStdString();
    ASSERT_GT(read, set) << wire.toStdString();
    EXPECT_TRUE(wire.mid(set).contains(R"(<-  "GAIN-FINE 50\r")"));
    EXPECT_TRUE(wire.mid(read).contains(R"(<-  "50\r")"));
}

TEST_F(Pk70ctlProcess, DetectsTheRateOfCamsimAndPrintsTheValues)
{
    startCamsim();
    const Result result = pk70ctl({"--port", device, "MODEL", "GAIN-FINE", "-20", "GAIN-FINE"});
    EXPECT_EQ(result.status, 0) << result.err.toStdString();
    EXPECT_EQ(result.out, "PTM-TW640M\n-20\n");
}

TEST_F(Pk70ctlProcess, ARefusalGivesStatusOneAndTheReasonAsJson)
{
    startCamsim({"--refuse", "BLACKLEVEL"});
    const Result result = pk70ctl({"--port", device, "--rate", "57600", "--json", "--keep-going", "-f", "-"},
                                  "# from standard input\nBLACKLEVEL 3\n\nMODEL\n");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "pk70ctl: \"BLACKLEVEL 3\" refused (NG): Refused\n");
    const QStringList lines = result.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << result.out.toStdString();
    const QJsonObject refused = QJsonDocument::fromJson(lines[0].toUtf8()).object();
    EXPECT_EQ(refused.value("command").toString(), "BLACKLEVEL 3");
    EXPECT_EQ(refused.value("result").toString(), "refused");
    EXPECT_EQ(refused.value("error").toString(), "Refused");
    const QJsonObject model = QJsonDocument::fromJson(lines[1].toUtf8()).object();
    EXPECT_EQ(model.value("result").toString(), "OK");
    EXPECT_EQ(model.value("values").toArray(), QJsonArray{"PTM-TW640M"});
}

TEST_F(Pk70ctlProcess, TwoPortsRunTogetherAndARefusalOnOneLeavesTheOthersLinesAllSent)
{
    // camsim on its pseudo-terminal and a simulated camera of pk70ctl's own,
    // each on its own thread.
    startCamsim({"--refuse", "BLACKLEVEL", "--rate", "9600"});
    const Result result = pk70ctl({"--port", device, "--port", "sim:PTM-TW640M", "--rate", "9600", "-f", "-"},
                                  "GAIN-FINE 20\nBLACKLEVEL 3\nGAIN-FINE\n");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "sim:PTM-TW640M: 20\n");
    EXPECT_EQ(result.err, "pk70ctl: " + device + ": \"BLACKLEVEL 3\" refused (NG): Refused\n");
}

TEST_F(Pk70ctlProcess, ASilentCameraGivesStatusTwoWithinTheTimeOut)
{
    startCamsim({"--silent"});
    const Result result = pk70ctl({"--port", device, "--rate", "57600", "--timeout", "0.5", "MODEL"});
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.err, "pk70ctl: no answer to \"MODEL\" from the camera on " + device + " within 0.5 s\n");
    EXPECT_LT(result.seconds, 3.0);
}

TEST_F(Pk70ctlProcess, ANetworkPortThatCannotBeReachedEndsWithStatusTwoNamingTheServer)
{
    const QString closed = QString::number(Ser2net::freePort());
    const QString refused = "127.0.0.1 port " + closed + ": the connection was refused";
    const QStringList cases[] = {{"rfc2217://127.0.0.1:" + closed, refused},
                                 {"socket://127.0.0.1:" + closed, refused},
                                 {"rfc2217://no-such-camera-server.invalid:2217", "no-such-camera-server.invalid port 2217: "},
                                 {"socket://127.0.0.1", "write rfc2217://HOST:PORT or socket://HOST:PORT"}};
    for (const QStringList& c : cases) {
        const Result result = pk70ctl({"--port", c[0], "MODEL"});
        EXPECT_EQ(result.status, 2) << c[0].toStdString();
        EXPECT_TRUE(result.err.contains(c[1])) << result.err.toStdString();
        EXPECT_LT(result.seconds, 5.0) << c[0].toStdString();
    }
}
