#include "CapturedMessages.h"
#include "PseudoTerminal.h"
#include "Ports.h"
#include "QtPrinters.h"
#include "SerialPortDlg.h"
#include "SimulatedCameras.h"

#include <QAbstractItemModel>
#include <QComboBox>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

class SerialPortDlgTest : public ::testing::Test {
protected:
    SerialPortDlgTest() { QSettings().clear(); }

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

TEST_F(SerialPortDlgTest, StableNamesThatOpenAreListedWithTheSystemsPortsAndTaken)
{
    PseudoTerminal adapter;
    PseudoTerminal heldAdapter;
    if (!adapter.isValid() || !heldAdapter.isValid())
        GTEST_SKIP() << "no pseudo-terminal available";
    QTemporaryDir byId;
    const QString stable = byId.filePath("usb-PK70_Test_Adapter_0001-if00-port0");
    const QString held = byId.filePath("usb-PK70_Test_Adapter_0002-if00-port0");
    const QString unplugged = byId.filePath("usb-PK70_Test_Adapter_0003-if00-port0");
    ASSERT_TRUE(QFile::link(adapter.slavePath(), stable));
    ASSERT_TRUE(QFile::link(heldAdapter.slavePath(), held));
    ASSERT_TRUE(QFile::link("/dev/pk70-unplugged", unplugged));
    const auto holder = OpenPort(heldAdapter.slavePath(), 9600);
    ASSERT_NE(holder, nullptr);

    CSerialPortDlg dialog("", 38400, byId.path());
    const QStringList listed = items(dialog.portCombo());
    ASSERT_TRUE(listed.contains(stable)) << listed.join(", ").toStdString();
    EXPECT_FALSE(listed.contains(held));
    EXPECT_FALSE(listed.contains(unplugged));
    // Among the system's ports, before the other kinds.
    EXPECT_LT(listed.indexOf(stable), listed.indexOf(SimulatedCameras::portOf("PTM-TW640")));
    // The list shows each port's description and maker beside its name; the
    // field takes the name.
    const QAbstractItemModel* model = dialog.portCombo()->model();
    EXPECT_EQ(model->columnCount(), int(CSerialPortDlg::ColumnCount));
    EXPECT_EQ(model->headerData(CSerialPortDlg::DescriptionColumn, Qt::Horizontal).toString(), "Description");
    EXPECT_EQ(model->headerData(CSerialPortDlg::MakerColumn, Qt::Horizontal).toString(), "Maker");
    dialog.portCombo()->setCurrentIndex(int(listed.indexOf(stable)));
    EXPECT_EQ(dialog.portName(), stable);
    EXPECT_TRUE(messages.texts.isEmpty());
}

TEST_F(SerialPortDlgTest, AcceptingRemembersThePortAndRateAndNothingElse)
{
    EXPECT_FALSE(rememberedPortChoice());
    {
        CSerialPortDlg dialog("sim:PTM-R290CL", 115200);
        dialog.reject();
    }
    EXPECT_FALSE(rememberedPortChoice());
    {
        CSerialPortDlg dialog("", 38400);
        dialog.portCombo()->setEditText("sim:PTM-R290CL");
        dialog.baudCombo()->setEditText("19200");
        dialog.accept();
    }
    const std::optional<PortChoice> remembered = rememberedPortChoice();
    ASSERT_TRUE(remembered);
    EXPECT_EQ(remembered->portName, "sim:PTM-R290CL");
    EXPECT_EQ(remembered->baudRate, 19200);
    QSettings profile;
    EXPECT_TRUE(profile.childGroups().contains("SerialPort"));
    EXPECT_FALSE(profile.childGroups().contains("Window"));

    // Offered first: the dialog the start-up shows selects them.
    CSerialPortDlg next(remembered->portName, remembered->baudRate);
    EXPECT_EQ(next.portName(), "sim:PTM-R290CL");
    EXPECT_EQ(next.baudRate(), 19200);
}

TEST_F(SerialPortDlgTest, ATypedPathThatOpensIsOfferedFirst)
{
    PseudoTerminal camera;
    if (!camera.isValid())
        GTEST_SKIP() << "no pseudo-terminal available";
    QTemporaryDir folder;
    const QString link = folder.filePath("camera"); // as camsim --link makes it
    ASSERT_TRUE(QFile::link(camera.slavePath(), link));
    CSerialPortDlg dialog(link, 9600);
    EXPECT_EQ(items(dialog.portCombo()).first(), link);
    EXPECT_EQ(dialog.portName(), link);
}

TEST_F(SerialPortDlgTest, TheLastFiveNetworkPortsAcceptedComeFirstLatestFirst)
{
    for (const char* name : {"socket://a:1", "rfc2217://b:2", "sim:PTM-R290CL", "rfc2217://c:3", "rfc2217://d:4",
                             "socket://a:1", "rfc2217://[::1]:5", "rfc2217://f:6"})
        rememberPortChoice({name, 9600});
    CSerialPortDlg dialog("", 9600); // not connected to: none of these hosts exists
    EXPECT_EQ(items(dialog.portCombo()).mid(0, 5), (QStringList{"rfc2217://f:6", "rfc2217://[::1]:5", "socket://a:1",
                                                                "rfc2217://d:4", "rfc2217://c:3"}));
    EXPECT_FALSE(items(dialog.portCombo()).contains("rfc2217://b:2"));
}
