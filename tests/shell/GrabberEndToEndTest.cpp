#include "CameraLinkDlg.h"
#include "CameraLinkSerial.h"
#include "CapturedMessages.h"
#include "ControlPanelBrevo.h"
#include "PortBackend.h"
#include "QtPrinters.h"
#include "SerialPortDlg.h"

#include <QComboBox>

#include <gtest/gtest.h>

// A frame grabber reached through its Camera Link serial library (the
// simulated grabber's, loaded with dlopen): its ports are listed and used
// exactly like a tty. Port 1 has a PTM-R560CL behind it, listening at 9600.
class GrabberEndToEnd : public ::testing::Test {
protected:
    GrabberEndToEnd() { PortRegistry::instance().add(backend); }
    ~GrabberEndToEnd() override { PortRegistry::instance().remove(backend); }

    std::shared_ptr<CameraLinkPortBackend> backend =
        std::make_shared<CameraLinkPortBackend>(QStringList{QStringLiteral(PK_GRABBER_DIR)});
    CapturedMessages messages;
};

TEST_F(GrabberEndToEnd, ThePortDialogListsTheGrabbersPorts)
{
    CSerialPortDlg dialog("", 38400);
    const QComboBox* ports = dialog.portCombo();
    QStringList listed;
    for (int i = 0; i < ports->count(); ++i)
        listed << ports->itemText(i);
    EXPECT_TRUE(listed.contains("clser:PK70Sim#port0"));
    EXPECT_TRUE(listed.contains("clser:PK70Sim#port1"));
}

TEST_F(GrabberEndToEnd, ChoosingAGrabberPortEndsWithTheCameraIdentifiedAndItsPanelOpen)
{
    CCameraLinkDlg window;
    window.setPortChooser([](const QString&, qint32) {
        return std::optional<PortChoice>({QStringLiteral("clser:PK70Sim#port1"), 38400});
    });
    window.OnInitDialog();
    EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join(", ").toStdString();
    EXPECT_EQ(window.connection().baudRate, 9600);
    EXPECT_EQ(window.windowTitle(), "PTM-R560CL");
    ASSERT_NE(window.brevoPanel(), nullptr);
    EXPECT_TRUE(window.brevoPanel()->isVisible());
    window.close();
    EXPECT_FALSE(window.connection().isOpen());
}
