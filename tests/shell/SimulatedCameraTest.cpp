#include "CameraLinkDlg.h"
#include "CapturedMessages.h"
#include "Catalogue.h"
#include "ControlPanelBrevo.h"
#include "ControlPanelTovane.h"
#include "Link.h"
#include "LongOperation.h"
#include "Ports.h"
#include "QtPrinters.h"
#include "SimulatedCameras.h"
#include "SerialPortDlg.h"
#include "SimulatedPort.h"
#include "TerminalDlg.h"
#include "brevo/BrevoPages.h"
#include "tovane/TovanePages.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace {

struct SimulatedModel {
    const char* model;
    CameraFamily family;
    int sensorTaps; // as the Brevo panel is given it; 1 for Tovane
};

const SimulatedModel kSimulatedModels[] = {
    {"PTM-TW640", CameraFamily::Tovane, 1},  {"PTM-TW640M", CameraFamily::Tovane, 1},
    {"PTM-R560CL", CameraFamily::Brevo, 4},  {"PTM-R290CL", CameraFamily::Brevo, 2},
    {"PTM-R140ML", CameraFamily::Brevo, 1},  {"PTM-R140MLF", CameraFamily::Brevo, 1},
    {"PTM-6006", CameraFamily::None, 0},
};

void PrintTo(const SimulatedModel& m, std::ostream* out)
{
    *out << m.model;
}

QStringList titlesOf(const QList<PageEntry>& entries)
{
    QStringList titles;
    for (const PageEntry& entry : entries)
        titles << entry.title;
    return titles;
}

QStringList tabTitles(const ControlPanel& panel)
{
    QStringList titles;
    for (int i = 0; i < panel.tabs()->count(); ++i)
        titles << panel.tabs()->tabText(i);
    return titles;
}

QString askInTerminal(CTerminalDlg& terminal, const QString& line)
{
    terminal.responseLog()->clear();
    terminal.commandEdit()->setText(line);
    QTest::keyClick(terminal.commandEdit(), Qt::Key_Return);
    return terminal.responseLog()->toPlainText();
}

} // namespace

class SimulatedCameraTest : public ::testing::TestWithParam<SimulatedModel> {
protected:
    static QString portOf(const QString& model) { return SimulatedCameras::portOf(model); }

    SimulatedCameras cameras;
    VirtualClock& clock = cameras.clock;
    CapturedMessages messages;
};

TEST_F(SimulatedCameraTest, EverySimulatedModelIsCovered)
{
    QStringList covered;
    for (const SimulatedModel& m : kSimulatedModels)
        covered << m.model;
    EXPECT_EQ(covered, simulatedModels());
}

TEST_P(SimulatedCameraTest, PickingTheSimulatedCameraEndsWithItsFamilysPanelAndTheModelAsTitle)
{
    const SimulatedModel& m = GetParam();
    const QString port = portOf(m.model);
    {
        CSerialPortDlg dialog(QString(), 38400);
        EXPECT_GE(dialog.portCombo()->findText(port), 0);
    }
    CCameraLinkDlg window(clock);
    window.setPortChooser([&port](const QString&, qint32) { return std::optional<PortChoice>({port, 38400}); });
    window.OnInitDialog();
    window.show();

    EXPECT_EQ(window.connection().baudRate, cameras.camera(m.model).listeningRate());
    EXPECT_EQ(window.windowTitle(), m.model);
    EXPECT_EQ(window.family(), m.family);
    switch (m.family) {
    case CameraFamily::Brevo:
        ASSERT_NE(window.brevoPanel(), nullptr);
        EXPECT_EQ(window.tovanePanel(), nullptr);
        EXPECT_TRUE(window.brevoPanel()->isVisible());
        EXPECT_EQ(window.brevoPanel()->sensorTaps(), m.sensorTaps);
        EXPECT_EQ(tabTitles(*window.brevoPanel()), titlesOf(brevoPages()));
        break;
    case CameraFamily::Tovane:
        ASSERT_NE(window.tovanePanel(), nullptr);
        EXPECT_EQ(window.brevoPanel(), nullptr);
        EXPECT_TRUE(window.tovanePanel()->isVisible());
        EXPECT_EQ(tabTitles(*window.tovanePanel()), titlesOf(tovanePages()));
        // The main window is the strip right above the panel.
        EXPECT_EQ(window.tovanePanel()->frameGeometry().top(), window.frameGeometry().bottom() + 1);
        break;
    case CameraFamily::None:
        EXPECT_EQ(window.brevoPanel(), nullptr);
        EXPECT_EQ(window.tovanePanel(), nullptr);
        break;
    }
    // Every tab's title is in sight from the first start, without scrolling the tab bar.
    if (ControlPanel* panel = window.brevoPanel() ? static_cast<ControlPanel*>(window.brevoPanel()) : window.tovanePanel()) {
        EXPECT_LE(panel->tabs()->tabBar()->sizeHint().width(), panel->tabs()->width());
    }

    window.showTerminal();
    ASSERT_NE(window.terminal(), nullptr);
    EXPECT_EQ(askInTerminal(*window.terminal(), "MODEL"), QStringLiteral("MODEL\n%1\nOK\n").arg(m.model));
    EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join(", ").toStdString();
}

// The lines a whole panel reads at start-up, kept from before the pages read
// their settings through the catalogue; then the settings whose controls send
// but whose fixed order never read them.
TEST_P(SimulatedCameraTest, TheStartUpWireIsTheFixedLoadOrderThenTheLaterReads)
{
    const SimulatedModel& m = GetParam();
    if (m.family == CameraFamily::None)
        return;
    QFile golden(QStringLiteral(PK_STARTUP_WIRES_DIR "/%1.txt").arg(m.model));
    ASSERT_TRUE(golden.open(QIODevice::ReadOnly));
    QByteArrayList expected = golden.readAll().split('\n');
    expected.removeAll(QByteArray());
    expected += m.family == CameraFamily::Tovane
                    ? QByteArrayList{"AGC-FRAME-HIGHLIGHT", "SHADING-PATTERN-CHECK", "SHADING-CORRECTION", "DEFECT-CORRECTION"}
                    : QByteArrayList{"DEFECT-CORRECTION"};

    CCameraLinkDlg window(clock);
    const QString port = portOf(m.model);
    window.setPortChooser([&port](const QString&, qint32) { return std::optional<PortChoice>({port, 38400}); });
    window.OnInitDialog();
    QByteArrayList sent = cameras.received(m.model);
    sent.removeAll(QByteArray());
    EXPECT_EQ(sent, expected);
}

INSTANTIATE_TEST_SUITE_P(Models, SimulatedCameraTest, ::testing::ValuesIn(kSimulatedModels),
                         [](const ::testing::TestParamInfo<SimulatedModel>& info) {
                             return QString::fromLatin1(info.param.model).remove('-').toStdString();
                         });

TEST_F(SimulatedCameraTest, AnotherCameraChosenLaterGetsItsFamilysPanelInPlaceOfTheFirst)
{
    cameras.camera("PTM-R290CL").setListeningRate(115200);
    CCameraLinkDlg window(clock);
    QList<QString> ports = {portOf("PTM-TW640"), portOf("PTM-R290CL")};
    window.setPortChooser([&ports](const QString&, qint32) {
        return std::optional<PortChoice>({ports.takeFirst(), 38400});
    });
    window.OnInitDialog();
    CControlPanelTovane* panel = window.tovanePanel();
    ASSERT_NE(panel, nullptr);

    window.chooseSerialPort();
    EXPECT_EQ(window.connection().baudRate, 115200);
    EXPECT_EQ(window.model(), "PTM-R290CL");
    EXPECT_EQ(window.windowTitle(), "PTM-R290CL");
    EXPECT_EQ(window.tovanePanel(), nullptr);
    ASSERT_NE(window.brevoPanel(), nullptr);
    EXPECT_EQ(tabTitles(*window.brevoPanel()), titlesOf(brevoPages()));
    EXPECT_EQ(window.brevoPanel()->sensorTaps(), 2);
    EXPECT_EQ(askInTerminal(*window.terminal(), "MODEL"), "MODEL\nPTM-R290CL\nOK\n");
    EXPECT_TRUE(messages.texts.isEmpty());
}

TEST_F(SimulatedCameraTest, ReconnectingThroughSerialPortShowsWhatTheCameraHoldsNow)
{
    CCameraLinkDlg window(clock);
    window.setPortChooser([](const QString&, qint32) { return std::optional<PortChoice>({portOf("PTM-TW640"), 38400}); });
    window.OnInitDialog();
    // Changed from the terminal, which the panel does not watch.
    EXPECT_NE(window.tovanePanel()->catalogue().find("BLACKLEVEL")->value(), "64");
    EXPECT_TRUE(Transact(window.connection(), "BLACKLEVEL 64", 1.0));
    window.chooseSerialPort();
    ASSERT_NE(window.tovanePanel(), nullptr);
    EXPECT_EQ(window.tovanePanel()->catalogue().find("BLACKLEVEL")->value(), "64");
}

TEST_F(SimulatedCameraTest, ASimulatedCameraInUseIsMissingFromTheListAndReportedWhenTyped)
{
    auto held = cameras.open("PTM-TW640");
    ASSERT_NE(held, nullptr);
    {
        CSerialPortDlg dialog(QString(), 38400);
        EXPECT_EQ(dialog.portCombo()->findText(portOf("PTM-TW640")), -1);
        EXPECT_GE(dialog.portCombo()->findText(portOf("PTM-TW640M")), 0);
    }
    CCameraLinkDlg window(clock);
    window.setPortChooser([](const QString&, qint32) {
        return std::optional<PortChoice>({portOf("PTM-TW640"), 38400});
    });
    window.OnInitDialog();
    EXPECT_EQ(messages.texts, QStringList{kPortInUseMessage});
    EXPECT_EQ(window.tovanePanel(), nullptr);
}

// The Tovane panel shows once its first page is read and reads the others
// behind it. What happens at the third look at the window's events during
// that load: a user action goes out between two exchanges and the load goes
// on; closing the panel ends the load and showing it again finishes it;
// once the port is closed nothing more goes out.
TEST_F(SimulatedCameraTest, ThePagesAfterTheFirstAreReadBehindTheShownPanel)
{
    QFile golden(QStringLiteral(PK_STARTUP_WIRES_DIR "/PTM-TW640.txt"));
    ASSERT_TRUE(golden.open(QIODevice::ReadOnly));
    QByteArrayList expected = golden.readAll().split('\n');
    expected.removeAll(QByteArray());
    expected += QByteArrayList{"AGC-FRAME-HIGHLIGHT", "SHADING-PATTERN-CHECK", "SHADING-CORRECTION", "DEFECT-CORRECTION"};
    const QString port = portOf("PTM-TW640");
    enum class Act { UserAction, ClosePanel, ClosePort };
    for (const Act act : {Act::UserAction, Act::ClosePanel, Act::ClosePort}) {
        cameras.camera("PTM-TW640").clearRecord();
        CCameraLinkDlg window(clock);
        window.setPortChooser([&port](const QString&, qint32) { return std::optional<PortChoice>({port, 38400}); });
        int looks = 0;
        qsizetype sentAtAct = -1; // lines, empty ones left out
        qsizetype linesAtAct = -1;
        const PendingEventsRunner previous = setPendingEventsRunner([&] {
            ControlPanel* panel = window.tovanePanel();
            if (panel && panel->loadingRemainingPages() && ++looks == 3) {
                // The last tab is not read yet and says so.
                EXPECT_EQ(panel->tabs()->tabBar()->accessibleTabName(10), ControlPanel::readingTitle("FrameBuffer"));
                EXPECT_EQ(panel->tabs()->tabBar()->accessibleTabName(0), QString());
                EXPECT_EQ(panel->page(10), nullptr);
                QByteArrayList before = cameras.received("PTM-TW640");
                linesAtAct = before.size();
                before.removeAll(QByteArray());
                sentAtAct = before.size();
                if (act == Act::UserAction)
                    window.sendPath().whenIdle([&window] { window.sendPath().command("GAIN 12"); });
                else if (act == Act::ClosePanel)
                    panel->close();
                else
                    window.connection().close();
            }
            QCoreApplication::processEvents();
        });
        window.OnInitDialog();
        ControlPanel* panel = window.tovanePanel();
        ASSERT_NE(panel, nullptr);
        QByteArrayList sent = cameras.received("PTM-TW640");
        sent.removeAll(QByteArray());
        ASSERT_GT(sentAtAct, 0);
        switch (act) {
        case Act::UserAction: {
            const qsizetype at = sent.indexOf("GAIN 12");
            EXPECT_GE(at, sentAtAct);
            sent.removeAt(at);
            EXPECT_EQ(sent, expected);
            EXPECT_EQ(tabTitles(*panel), titlesOf(tovanePages()));
            break;
        }
        case Act::ClosePanel:
            EXPECT_LT(sent.size(), expected.size());
            EXPECT_TRUE(panel->pagesStillToRead());
            panel->show();
            QCoreApplication::processEvents();
            EXPECT_FALSE(panel->pagesStillToRead());
            EXPECT_EQ(tabTitles(*panel), titlesOf(tovanePages()));
            sent = cameras.received("PTM-TW640");
            sent.removeAll(QByteArray());
            EXPECT_EQ(sent.mid(sent.size() - 20), expected.mid(expected.size() - 20));
            break;
        case Act::ClosePort:
            EXPECT_EQ(cameras.received("PTM-TW640").size(), linesAtAct);
            break;
        }
        setPendingEventsRunner(previous);
    }
}
