#include "CameraLinkDlg.h"
#include "CapturedMessages.h"
#include "ControlPanelTovane.h"
#include "QtPrinters.h"
#include "TerminalDlg.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

// The application's real serial path against camsim serving a camera on a
// pseudo-terminal: the device path typed in the port dialog, baud detection,
// identification and the panel, all in real time.
class CamsimEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        camsim.start(QStringLiteral(PK_CAMSIM_PATH), {"--model", "PTM-TW640M", "--rate", "57600"});
        if (!camsim.waitForStarted(5000))
            GTEST_SKIP() << "camsim does not start";
        while (!camsim.canReadLine() && camsim.waitForReadyRead(5000)) {
        }
        devicePath = QString::fromLocal8Bit(camsim.readLine()).trimmed();
        if (devicePath.isEmpty())
            GTEST_SKIP() << "camsim printed no device: " << camsim.readAllStandardError().toStdString();
    }

    void TearDown() override
    {
        camsim.terminate();
        if (!camsim.waitForFinished(5000))
            camsim.kill();
    }

    QProcess camsim;
    QString devicePath;
    CapturedMessages messages;
};

TEST_F(CamsimEndToEnd, TheTypedDevicePathIsDetectedIdentifiedAndGetsTheTovanePanel)
{
    CCameraLinkDlg window;
    window.setPortChooser([this](const QString&, qint32) {
        return std::optional<PortChoice>({devicePath, 9600});
    });
    window.OnInitDialog();
    EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join(", ").toStdString();
    EXPECT_EQ(window.connection().portName, devicePath);
    EXPECT_EQ(window.connection().baudRate, 57600);
    EXPECT_EQ(window.model(), "PTM-TW640M");
    EXPECT_EQ(window.windowTitle(), "PTM-TW640M");
    ASSERT_NE(window.tovanePanel(), nullptr);
    EXPECT_TRUE(window.tovanePanel()->isVisible());

    window.showTerminal();
    ASSERT_NE(window.terminal(), nullptr);
    window.terminal()->commandEdit()->setText("MODEL");
    QTest::keyClick(window.terminal()->commandEdit(), Qt::Key_Return);
    EXPECT_EQ(window.terminal()->responseLog()->toPlainText(), "MODEL\nPTM-TW640M\nOK\n");
    window.close();
    EXPECT_FALSE(window.connection().isOpen());
}
