#include "CameraLinkDlg.h"
#include "CapturedMessages.h"
#include "ControlPanelTovane.h"
#include "Link.h"
#include "Ports.h"
#include "QtPrinters.h"
#include "Ser2net.h"
#include "WireLog.h"

#include <QElapsedTimer>
#include <QLabel>

#include <gtest/gtest.h>

// The application in real time against camsim's camera put on the network by
// a real ser2net (over RFC 2217 and raw TCP). ser2net comes with the set-up
// (scripts/packages.txt): one that does not start fails the tests, no skip.
class NetworkEndToEnd : public ::testing::Test {
protected:
    void start(qint32 cameraRate)
    {
        camsim.start(QStringLiteral(PK_CAMSIM_PATH), {"--model", "PTM-TW640M", "--rate", QString::number(cameraRate)});
        ASSERT_TRUE(camsim.waitForStarted(5000));
        while (!camsim.canReadLine() && camsim.waitForReadyRead(5000)) {
        }
        device = QString::fromLocal8Bit(camsim.readLine()).trimmed();
        ASSERT_TRUE(device.startsWith("/dev/")) << camsim.readAllStandardError().toStdString();
        const QString problem = ser2net.start(device, cameraRate);
        ASSERT_TRUE(problem.isEmpty()) << problem.toStdString();
    }

    void openApplication(CCameraLinkDlg& window, const QString& port, qint32 rate, bool detect)
    {
        window.setPortChooser([=](const QString&, qint32) { return std::optional<PortChoice>({port, rate, detect}); });
        window.OnInitDialog();
    }

    // The lines both ways without their times, or the notes (rates set).
    static QByteArrayList wire(const WireLog& log, bool notes = false)
    {
        QByteArrayList lines;
        for (qsizetype i = 0; i < log.size(); ++i) {
            const WireLogEntry& entry = log.at(i);
            if ((entry.kind == WireLogEntry::Kind::Note) == notes)
                lines << (entry.kind == WireLogEntry::Kind::Sent ? "-> " : "<- ") + entry.bytes;
        }
        return lines;
    }

    QProcess camsim; // killed with the fixture
    QString device;
    Ser2net ser2net;
    CapturedMessages messages;
};

class NetworkDetection : public NetworkEndToEnd, public ::testing::WithParamInterface<qint32> {};

TEST_P(NetworkDetection, FindsTheCameraRateOverRfc2217)
{
    ASSERT_NO_FATAL_FAILURE(start(GetParam()));
    Connection connection(SteadyClock::instance());
    connection.attach(OpenPort(ser2net.rfc2217Name(), 38400));
    ASSERT_TRUE(connection.isOpen()) << messages.texts.join(", ").toStdString();
    EXPECT_EQ(DetectBaudRate(connection), GetParam());
    EXPECT_EQ(QueryText(connection, "MODEL"), "PTM-TW640M");
}

INSTANTIATE_TEST_SUITE_P(Ser2net, NetworkDetection, ::testing::Values(14400, 115200));

TEST_F(NetworkEndToEnd, APanelOverRfc2217PutsTheSameLinesOnTheWireAsOverThePseudoTerminal)
{
    ASSERT_NO_FATAL_FAILURE(start(115200));
    QByteArrayList wires[2];
    const QString ports[2] = {device, ser2net.rfc2217Name()};
    for (int i = 0; i < 2; ++i) {
        CCameraLinkDlg window;
        openApplication(window, ports[i], 9600, true);
        ASSERT_NE(window.tovanePanel(), nullptr) << ports[i].toStdString();
        EXPECT_EQ(window.connection().baudRate, 115200);
        wires[i] = wire(window.wireLog());
        window.close();
    }
    EXPECT_GT(wires[0].size(), 100);
    EXPECT_EQ(wires[1], wires[0]);
    EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join(", ").toStdString();
}

TEST_F(NetworkEndToEnd, ARawTcpPortRunsAtTheGivenRateWithoutSearchingForOne)
{
    ASSERT_NO_FATAL_FAILURE(start(115200));
    CCameraLinkDlg window;
    // The rate told is not the line's: nothing is searched, and the camera
    // still answers at the rate its server runs the line at.
    openApplication(window, ser2net.socketName(), 230400, true);
    EXPECT_EQ(window.connection().baudRate, 230400);
    EXPECT_EQ(window.model(), "PTM-TW640M");
    ASSERT_NE(window.tovanePanel(), nullptr);
    // Only the note of the opening: no rate was tried.
    EXPECT_EQ(wire(window.wireLog(), true).size(), 1);
    window.close();
}

TEST_F(NetworkEndToEnd, AServerKilledMidLoadEndsTheLoadAtOnceAsALostPort)
{
    ASSERT_NO_FATAL_FAILURE(start(115200));
    CCameraLinkDlg window;
    QElapsedTimer sinceKill;
    int sent = 0;
    QObject::connect(&window.wireLog(), &WireLog::appended, [&](const WireLogEntry& entry) {
        if (entry.kind == WireLogEntry::Kind::Sent && entry.bytes.startsWith("GAIN") && ++sent == 1) {
            ser2net.kill();
            sinceKill.start();
        }
    });
    openApplication(window, ser2net.rfc2217Name(), 115200, false);
    ASSERT_TRUE(sinceKill.isValid());
    ASSERT_NE(window.tovanePanel(), nullptr);
    EXPECT_LT(sinceKill.elapsed(), 3000);
    EXPECT_FALSE(window.connection().isOpen());
    EXPECT_TRUE(window.connection().wasLost());
    EXPECT_TRUE(window.findChild<QLabel*>()->text().contains(ser2net.rfc2217Name() + " was lost."));
}
