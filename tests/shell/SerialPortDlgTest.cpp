#include "CapturedMessages.h"
#include "Ports.h"
#include "QtPrinters.h"
#include "SerialPortDlg.h"
#include "SimulatedCameras.h"

#include <QComboBox>

#include <gtest/gtest.h>

class SerialPortDlgTest : public ::testing::Test {
protected:
    static QStringList items(const QComboBox* combo)
    {
        QStringList texts;
        for (int i = 0; i < combo->count(); ++i)
            texts << combo->itemText(i);
        return texts;
    }

    SimulatedCameras cameras;
    CapturedMessages messages;
};

TEST_F(SerialPortDlgTest, ListsThePortsThatCanBeOpenedSystemPortsFirst)
{
    const auto held = cameras.open("PTM-TW640M");
    CSerialPortDlg dialog("", 38400);
    EXPECT_EQ(dialog.windowTitle(), "Serial Port Setting");

    QStringList simulated;
    for (const QString& model : simulatedModels()) {
        if (model != "PTM-TW640M")
            simulated << SimulatedCameras::portOf(model);
    }
    const QStringList listed = items(dialog.portCombo());
    ASSERT_GE(listed.size(), simulated.size());
    // The camera another program holds is missing; the simulated cameras
    // follow the system's ports in the simulator's order.
    EXPECT_EQ(listed.mid(listed.size() - simulated.size()), simulated);
    for (const QString& name : listed.mid(0, listed.size() - simulated.size()))
        EXPECT_FALSE(name.startsWith("sim:")) << name.toStdString();
    EXPECT_TRUE(messages.texts.isEmpty());
}

TEST_F(SerialPortDlgTest, OffersTheNineRatesInOrder)
{
    CSerialPortDlg dialog("", 38400);
    EXPECT_EQ(items(dialog.baudCombo()),
              (QStringList{"9600", "14400", "19200", "38400", "57600", "115200", "230400", "460800", "921600"}));
}

TEST_F(SerialPortDlgTest, SelectsTheFirstEntriesBeginningWithTheCurrentValues)
{
    CSerialPortDlg dialog("sim:PTM-TW", 115200);
    EXPECT_EQ(dialog.portCombo()->currentText(), "sim:PTM-TW640");
    EXPECT_EQ(dialog.baudCombo()->currentText(), "115200");
    EXPECT_EQ(dialog.portName(), "sim:PTM-TW640");
    EXPECT_EQ(dialog.baudRate(), 115200);
}

TEST_F(SerialPortDlgTest, WithNoMatchNothingIsSelected)
{
    CSerialPortDlg dialog("sim:PTM-X", kNoRateFound);
    EXPECT_EQ(dialog.portCombo()->currentIndex(), -1);
    EXPECT_EQ(dialog.portName(), "");
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
        {"sim:PTM-R560CL", "fast", "sim:PTM-R560CL", 0},
        {"", "-5", "", -5},
    };
    for (const Case& c : cases) {
        CSerialPortDlg dialog("", 38400);
        dialog.portCombo()->setEditText(c.port);
        dialog.baudCombo()->setEditText(c.baud);
        EXPECT_EQ(dialog.portName(), c.expectedPort) << c.port.toStdString();
        EXPECT_EQ(dialog.baudRate(), c.expectedBaud) << c.baud.toStdString();
    }
}
