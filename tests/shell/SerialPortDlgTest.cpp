#include "QtPrinters.h"
#include "CapturedMessages.h"
#include "Ports.h"
#include "ScriptedCameraBackend.h"
#include "SerialPortDlg.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

class SerialPortDlgTest : public ::testing::Test {
protected:
    SerialPortDlgTest()
    {
        cameras->addCamera("first", {});
        cameras->addCamera("held", CameraScript{.held = true});
        cameras->addCamera("second", {});
    }

    static QStringList items(const QComboBox* combo)
    {
        QStringList texts;
        for (int i = 0; i < combo->count(); ++i)
            texts << combo->itemText(i);
        return texts;
    }

    VirtualClock clock;
    std::shared_ptr<ScriptedCameraBackend> cameras = std::make_shared<ScriptedCameraBackend>(clock);
    RegisteredBackend registered{cameras};
    CapturedMessages messages;
};

TEST_F(SerialPortDlgTest, ListsThePortsThatCanBeOpenedInTheRegistrysOrder)
{
    CSerialPortDlg dialog("", 38400);
    EXPECT_EQ(dialog.windowTitle(), "Serial Port Setting");
    QStringList expected;
    for (const QString& name : listedPortNames()) {
        if (ProbePort(name))
            expected << name;
    }
    EXPECT_EQ(items(dialog.portCombo()), expected);
    // The system's ports come first; a port another program holds is missing.
    EXPECT_EQ(items(dialog.portCombo()).mid(expected.size() - 2), (QStringList{"test:first", "test:second"}));
    EXPECT_TRUE(messages.texts.isEmpty());
}

TEST_F(SerialPortDlgTest, OffersTheNineRatesInOrder)
{
    CSerialPortDlg dialog("test:first", 38400);
    EXPECT_EQ(items(dialog.baudCombo()),
              (QStringList{"9600", "14400", "19200", "38400", "57600", "115200", "230400", "460800", "921600"}));
}

TEST_F(SerialPortDlgTest, SelectsTheFirstEntriesBeginningWithTheCurrentValues)
{
    CSerialPortDlg dialog("test:sec", 115200);
    EXPECT_EQ(dialog.portCombo()->currentText(), "test:second");
    EXPECT_EQ(dialog.baudCombo()->currentText(), "115200");
    EXPECT_EQ(dialog.portName(), "test:second");
    EXPECT_EQ(dialog.baudRate(), 115200);
}

TEST_F(SerialPortDlgTest, WithNoMatchNothingIsSelected)
{
    CSerialPortDlg dialog("test:missing", kNoRateFound);
    EXPECT_EQ(dialog.portCombo()->currentIndex(), -1);
    EXPECT_EQ(dialog.portCombo()->currentText(), "");
    EXPECT_EQ(dialog.baudCombo()->currentIndex(), -1);
    EXPECT_EQ(dialog.baudRate(), 0);
}

TEST_F(SerialPortDlgTest, TypedValuesAreTakenAsTheUserLeftThem)
{
    struct Case {
        QString port, baud, expectedPort;
        qint32 expectedBaud;
    };
    const QList<Case> cases = {
        {"/dev/ttyUSB0", "57600", "/dev/ttyUSB0", 57600},
        {" /dev/pts/7 ", "9600 baud", "/dev/pts/7", 9600},
        {"test:first", "fast", "test:first", 0},
        {"", "-5", "", -5},
    };
    for (const Case& c : cases) {
        CSerialPortDlg dialog("test:first", 38400);
        dialog.portCombo()->setEditText(c.port);
        dialog.baudCombo()->setEditText(c.baud);
        EXPECT_EQ(dialog.portName(), c.expectedPort) << c.port.toStdString();
        EXPECT_EQ(dialog.baudRate(), c.expectedBaud) << c.baud.toStdString();
    }
}

TEST_F(SerialPortDlgTest, OkAcceptsAndCancelRejects)
{
    for (const auto& [button, result] : {std::pair{"OK", QDialog::Accepted}, std::pair{"Cancel", QDialog::Rejected}}) {
        CSerialPortDlg dialog("test:first", 38400);
        dialog.show();
        QPushButton* found = nullptr;
        for (QPushButton* b : dialog.findChildren<QPushButton*>()) {
            if (b->text() == button)
                found = b;
        }
        ASSERT_NE(found, nullptr) << button;
        found->click();
        EXPECT_EQ(dialog.result(), result) << button;
        EXPECT_FALSE(dialog.isVisible());
    }
}
