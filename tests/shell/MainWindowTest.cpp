#include "QtPrinters.h"
#include "CameraLinkDlg.h"
#include "CapturedMessages.h"
#include "ControlPanelBrevo.h"
#include "ControlPanelTovane.h"
#include "DialogUnits.h"
#include "PanelPlacement.h"
#include "Ports.h"
#include "ScriptedCameraBackend.h"
#include "TerminalDlg.h"
#include "TestPages.h"

#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QStringList kPageTitles = {"General", "Gain"};

struct ScriptedModel {
    const char* camera;
    const char* model;
    CameraFamily family;
};

// The models the simulated cameras play, as scripted cameras.
const ScriptedModel kModels[] = {
    {"tw640", "PTM-TW640", CameraFamily::Tovane},     {"tw640m", "PTM-TW640M", CameraFamily::Tovane},
    {"r560", "PTM-R560CL", CameraFamily::Brevo},      {"r290", "PTM-R290CL", CameraFamily::Brevo},
    {"r140", "PTM-R140ML", CameraFamily::Brevo},      {"kda", "PTM-6006", CameraFamily::None},
};

// Shows nothing and is never cancelled.
struct SilentProgressView : DetectionProgressView {
    void showAttempt(int, qint32) override {}
    bool cancelRequested() override { return false; }
};

QStringList windowKeys()
{
    QSettings profile;
    profile.beginGroup("Window");
    return profile.childKeys();
}

int profileValue(const char* key)
{
    QSettings profile;
    return profile.value(QStringLiteral("Window/") + key, -99999).toInt();
}

QAction* menuAction(QMenuBar* bar, const QString& text)
{
    for (QAction* action : bar->actions()) {
        if (action->text() == text)
            return action;
        if (action->menu()) {
            for (QAction* item : action->menu()->actions()) {
                if (item->text() == text)
                    return item;
            }
        }
    }
    return nullptr;
}

} // namespace

class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest()
    {
        QSettings().clear();
        for (const ScriptedModel& m : kModels) {
            CameraScript script;
            script.modelAnswer = modelAnswerFor(m.model);
            script.sensorTaps = 4;
            cameras->addCamera(m.camera, script);
        }
        cameras->addCamera("silent", CameraScript{});
        cameras->addCamera("held", CameraScript{.held = true});
        window.setPageLists(recordingPages(kPageTitles, &brevoPages), recordingPages(kPageTitles, &tovanePages));
        window.setDetectionProgressView([this]() -> std::unique_ptr<DetectionProgressView> {
            ++progressViews;
            return std::make_unique<SilentProgressView>();
        });
        window.setPortChooser([this](const QString& name, qint32 rate) -> std::optional<PortChoice> {
            offered.append({name, rate});
            if (choices.isEmpty())
                return std::nullopt;
            return choices.takeFirst();
        });
    }

    void startWith(const QString& camera, qint32 rate = 38400)
    {
        choices.append(PortChoice{ScriptedCameraBackend::portName(camera), rate});
        window.OnInitDialog();
    }

    QByteArrayList received(const QString& camera) const { return cameras->receivedLines(camera); }

    void trigger(const QString& menuText)
    {
        QAction* action = menuAction(window.menuBar(), menuText);
        ASSERT_NE(action, nullptr) << menuText.toStdString();
        action->trigger();
    }

    VirtualClock clock;
    std::shared_ptr<ScriptedCameraBackend> cameras = std::make_shared<ScriptedCameraBackend>(clock);
    RegisteredBackend registered{cameras};
    CapturedMessages messages;
    QList<QPointer<RecordingPage>> brevoPages;
    QList<QPointer<RecordingPage>> tovanePages;
    QList<PortChoice> choices;
    QList<QPair<QString, qint32>> offered;
    int progressViews = 0;
    CCameraLinkDlg window{clock};
};

TEST_F(MainWindowTest, TheMenuBarHoldsExactlyTheFourEntries)
{
    QStringList bar;
    for (QAction* action : window.menuBar()->actions())
        bar << action->text();
    EXPECT_EQ(bar, (QStringList{"&File", "&Control", "&Terminal", "&SerialPort"}));
    QAction* file = window.menuBar()->actions().first();
    ASSERT_NE(file->menu(), nullptr);
    ASSERT_EQ(file->menu()->actions().size(), 1);
    EXPECT_EQ(file->menu()->actions().first()->text(), "E&xit");
    EXPECT_EQ(window.windowTitle(), "PK70App");
    EXPECT_FALSE(window.windowIcon().isNull());
}

TEST_F(MainWindowTest, StartUpWithEachModelSetsTitleFamilyAndPanel)
{
    for (const ScriptedModel& m : kModels) {
        SCOPED_TRACE(m.model);
        CCameraLinkDlg dlg(clock);
        dlg.setPageLists(recordingPages(kPageTitles), recordingPages(kPageTitles));
        dlg.setPortChooser([&m](const QString&, qint32) {
            return std::optional<PortChoice>(PortChoice{ScriptedCameraBackend::portName(m.camera), 38400});
        });
        dlg.OnInitDialog();
        EXPECT_EQ(dlg.windowTitle(), m.model);
        EXPECT_EQ(dlg.model(), m.model);
        EXPECT_EQ(dlg.family(), m.family);
        EXPECT_EQ(dlg.brevoPanel() != nullptr, m.family == CameraFamily::Brevo);
        EXPECT_EQ(dlg.tovanePanel() != nullptr, m.family == CameraFamily::Tovane);
        ControlPanel* panel = dlg.brevoPanel() ? static_cast<ControlPanel*>(dlg.brevoPanel()) : dlg.tovanePanel();
        if (panel) {
            EXPECT_TRUE(panel->isVisible());
            EXPECT_EQ(panel->model(), m.model);
            EXPECT_EQ(panel->pageCount(), kPageTitles.size());
        }
        ASSERT_NE(dlg.terminal(), nullptr);
        EXPECT_FALSE(dlg.terminal()->isVisible());
    }
    EXPECT_TRUE(messages.texts.isEmpty());
}

TEST_F(MainWindowTest, StartUpTalksToTheCameraInOrder)
{
    cameras->script("r560").rate = 57600;
    startWith("r560", 9600);
    EXPECT_EQ(offered.first(), qMakePair(QString(), qint32(38400)));
    EXPECT_EQ(window.connection().baudRate, 57600);
    EXPECT_EQ(window.connection().portName, "test:r560");
    // Two tries of detection (38400, 57600), each two carriage returns; the
    // line of three carriage returns; identification after the port choice and
    // again before the panel; the tap count for the Brevo panel.
    const QByteArrayList expected = {"", "", "", "", "", "", "", "", "MODEL", "MODEL", "SENSOR-TAP"};
    EXPECT_EQ(received("r560"), expected);
    EXPECT_EQ(cameras->lastPort("r560")->rates.first(), 9600);
    EXPECT_EQ(window.sensorTaps(), 4);
    ASSERT_EQ(brevoPages.size(), 2);
    EXPECT_EQ(brevoPages.at(0)->givenSensorTaps(), 4);
    EXPECT_EQ(&brevoPages.at(0)->givenConnection(), &window.connection());
}

TEST_F(MainWindowTest, TheBrevoPanelStandsAtTheTopLeftAndTheMainWindowKeepsItsPlace)
{
    startWith("r290");
    ASSERT_NE(window.brevoPanel(), nullptr);
    EXPECT_EQ(window.brevoPanel()->frameGeometry().topLeft(), QPoint(0, 0));
    EXPECT_EQ(window.frameGeometry().topLeft(), QPoint(0, 0));
    EXPECT_EQ(window.size(), DialogUnits::standard().toPixels(612, 326));
    EXPECT_EQ(window.tovanePanel(), nullptr);
}

TEST_F(MainWindowTest, WithATovaneCameraTheMainWindowBecomesAStripAboveThePanel)
{
    startWith("tw640m");
    CControlPanelTovane* panel = window.tovanePanel();
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(window.sensorTaps(), 1);
    EXPECT_EQ(tovanePages.at(0)->givenSensorTaps(), 1);
    EXPECT_FALSE(received("tw640m").contains("SENSOR-TAP"));
    const QRect strip = window.frameGeometry();
    EXPECT_EQ(strip.height(), CCameraLinkDlg::kStripHeight);
    EXPECT_EQ(strip.width(), panel->frameGeometry().width());
    EXPECT_EQ(panel->frameGeometry().topLeft(), QPoint(0, CCameraLinkDlg::kStripHeight));
    EXPECT_EQ(strip.topLeft(), panel->geometry().topLeft() - QPoint(0, 85));
}

TEST_F(MainWindowTest, ControlPlacesTheTovanePanelBesideTheMainWindowOrFlushRight)
{
    const struct {
        QRect main;
        int panelWidth, screenRight;
        QPoint expected;
    } cases[] = {
        {QRect(200, 30, 800, 50), 800, 1920, QPoint(1010, 30)},
        {QRect(700, 30, 800, 50), 800, 1920, QPoint(1120, 30)},
        {QRect(0, 0, 1100, 50), 800, 1920, QPoint(1110, 0)}, // reaching the edge exactly still fits
        {QRect(0, 0, 1200, 50), 800, 1920, QPoint(1120, 0)},
        {QRect(1500, 0, 300, 50), 500, 3840, QPoint(1810, 0)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(placeBesideMainWindow(c.main, c.panelWidth, c.screenRight), c.expected) << c.main.x();

    startWith("tw640");
    CControlPanelTovane* panel = window.tovanePanel();
    ASSERT_NE(panel, nullptr);
    panel->hide();
    window.move(20, 300);
    const QRect mainBefore = window.frameGeometry();
    const QRect screen = window.screen()->geometry();
    trigger("&Control");
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->frameGeometry().topLeft(),
              placeBesideMainWindow(mainBefore, panel->frameGeometry().width(), screen.x() + screen.width()));
    // The main window then follows the panel.
    EXPECT_EQ(window.frameGeometry().topLeft(), panel->geometry().topLeft() - QPoint(0, 85));
}

TEST_F(MainWindowTest, ControlShowsTheBrevoPanelWhereItWas)
{
    startWith("r140");
    CControlPanelPTM_Brevo* panel = window.brevoPanel();
    ASSERT_NE(panel, nullptr);
    panel->move(200, 100);
    panel->close();
    trigger("&Control");
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->frameGeometry().topLeft(), QPoint(200, 100));
}

TEST_F(MainWindowTest, CancelAtThePortDialogLeavesEverythingClosedAndSilent)
{
    window.OnInitDialog();
    EXPECT_FALSE(window.connection().isOpen());
    EXPECT_EQ(window.terminal(), nullptr);
    EXPECT_EQ(window.brevoPanel(), nullptr);
    EXPECT_EQ(window.tovanePanel(), nullptr);
    EXPECT_EQ(window.windowTitle(), "PK70App");
    EXPECT_TRUE(messages.texts.isEmpty());
    trigger("&Control");
    EXPECT_EQ(window.brevoPanel(), nullptr);
    EXPECT_EQ(window.tovanePanel(), nullptr);
}

TEST_F(MainWindowTest, AModelWithoutAFamilyGetsItsTitleButNoPanel)
{
    startWith("kda");
    EXPECT_EQ(window.windowTitle(), "PTM-6006");
    EXPECT_EQ(window.family(), CameraFamily::None);
    EXPECT_EQ(window.brevoPanel(), nullptr);
    EXPECT_EQ(window.tovanePanel(), nullptr);
    EXPECT_NE(window.terminal(), nullptr);
    trigger("&Control");
    EXPECT_EQ(window.brevoPanel(), nullptr);
    EXPECT_EQ(window.tovanePanel(), nullptr);
}

TEST_F(MainWindowTest, ACameraThatNamesNoModelLeavesTheTitleEmpty)
{
    startWith("silent");
    EXPECT_EQ(window.windowTitle(), "");
    EXPECT_EQ(window.model(), "");
    EXPECT_EQ(received("silent").mid(6), (QByteArrayList{"MODEL", "VERSION", "MODEL", "VERSION"}));
    EXPECT_EQ(window.brevoPanel(), nullptr);
    EXPECT_EQ(window.tovanePanel(), nullptr);
}

TEST_F(MainWindowTest, WithNoCameraDetectionStores4800AndShowsItsProgress)
{
    cameras->script("silent").rate = 1;
    startWith("silent");
    EXPECT_EQ(window.connection().baudRate, kNoRateFound);
    EXPECT_EQ(progressViews, 1);
    EXPECT_EQ(cameras->lastPort("silent")->rates.mid(1).size(), 270);
}

TEST_F(MainWindowTest, AHeldPortIsReportedOnceForEachChoiceAndNothingOpens)
{
    startWith("held", 9600);
    EXPECT_FALSE(window.connection().isOpen());
    EXPECT_EQ(window.connection().baudRate, kNoRateFound);
    EXPECT_EQ(messages.texts, QStringList{kPortInUseMessage});
    EXPECT_EQ(window.terminal(), nullptr);
    EXPECT_EQ(window.brevoPanel(), nullptr);
    EXPECT_EQ(window.tovanePanel(), nullptr);
    EXPECT_EQ(progressViews, 0);

    choices.append(PortChoice{ScriptedCameraBackend::portName("held"), 9600});
    trigger("&SerialPort");
    EXPECT_EQ(messages.texts, QStringList(2, kPortInUseMessage));

    // Once the other program lets go, choosing the port again works.
    cameras->script("held").held = false;
    cameras->script("held").modelAnswer = modelAnswerFor("PTM-R560CL");
    choices.append(PortChoice{ScriptedCameraBackend::portName("held"), 38400});
    trigger("&SerialPort");
    EXPECT_TRUE(window.connection().isOpen());
    EXPECT_EQ(window.model(), "PTM-R560CL");
    EXPECT_NE(window.terminal(), nullptr);
    EXPECT_EQ(messages.texts.size(), 2);
}

TEST_F(MainWindowTest, SerialPortReidentifiesAndTheOldPanelWorksThroughTheNewPort)
{
    startWith("tw640");
    CControlPanelTovane* panel = window.tovanePanel();
    ASSERT_NE(panel, nullptr);
    CTerminalDlg* terminal = window.terminal();

    choices.append(PortChoice{ScriptedCameraBackend::portName("r560"), 38400});
    trigger("&SerialPort");
    EXPECT_EQ(offered.last(), qMakePair(QString("test:tw640"), qint32(38400)));
    EXPECT_TRUE(cameras->lastPort("tw640")->closed);
    EXPECT_EQ(window.model(), "PTM-R560CL");
    EXPECT_EQ(window.windowTitle(), "PTM-TW640");
    EXPECT_EQ(window.tovanePanel(), panel);
    EXPECT_EQ(window.brevoPanel(), nullptr);
    EXPECT_EQ(window.terminal(), terminal);

    // The pages and the terminal reach the port open now.
    tovanePages.at(0)->sendThroughGivenConnection("GAIN 5");
    terminal->commandEdit()->setText("MODEL");
    terminal->sendCommand();
    EXPECT_EQ(received("r560").mid(received("r560").size() - 2), (QByteArrayList{"GAIN 5", "MODEL"}));
    EXPECT_TRUE(terminal->responseLog()->toPlainText().contains("PTM-R560CL"));

    // "&Control" follows the new model: a Brevo model, and no Brevo panel exists.
    panel->hide();
    trigger("&Control");
    EXPECT_FALSE(panel->isVisible());
}

TEST_F(MainWindowTest, CancellingTheSerialPortDialogLaterLeavesThePortClosed)
{
    startWith("r290");
    trigger("&SerialPort");
    EXPECT_FALSE(window.connection().isOpen());
    EXPECT_NE(window.brevoPanel(), nullptr);
    EXPECT_EQ(window.model(), "PTM-R290CL");
}

TEST_F(MainWindowTest, SerialPortWhileAnExchangeRunsIsIgnored)
{
    startWith("r290");
    const int asked = offered.size();
    {
        Connection::BusyScope busy(window.connection());
        trigger("&SerialPort");
    }
    EXPECT_EQ(offered.size(), asked);
    EXPECT_TRUE(window.connection().isOpen());
}

TEST_F(MainWindowTest, TerminalShowsTheTerminalWhichAnswersModel)
{
    startWith("tw640");
    trigger("&Terminal");
    CTerminalDlg* terminal = window.terminal();
    ASSERT_NE(terminal, nullptr);
    EXPECT_TRUE(terminal->isVisible());
    terminal->commandEdit()->setText("MODEL");
    QTest::keyClick(terminal->commandEdit(), Qt::Key_Return);
    EXPECT_EQ(terminal->responseLog()->toPlainText(), "MODEL\nPTM-TW640\nOK\n");
}

TEST_F(MainWindowTest, TerminalWithNoTerminalFallsBackToCom5)
{
    window.OnInitDialog();
    trigger("&Terminal");
    EXPECT_EQ(window.connection().portName, "COM5");
    // No such device here: reported like any port that cannot be opened.
    EXPECT_EQ(messages.texts, QStringList{kPortInUseMessage});
    EXPECT_EQ(window.terminal(), nullptr);
}

TEST_F(MainWindowTest, ClosingWithPanelAndTerminalRecordsEightEntries)
{
    startWith("r560");
    window.brevoPanel()->move(120, 80);
    trigger("&Terminal");
    window.terminal()->move(300, 400);
    window.brevoPanel()->hide();
    QSignalSpy closed(&window, &CCameraLinkDlg::closed);
    trigger("E&xit");
    EXPECT_EQ(closed.count(), 1);
    QStringList keys = windowKeys();
    keys.sort();
    EXPECT_EQ(keys, (QStringList{"CameraLinkDlgPosX", "CameraLinkDlgPosY", "ControlDlgPosX", "ControlDlgPosY",
                                 "ControlDlgVisible", "TerminalDlgPosX", "TerminalDlgPosY", "TerminalDlgVisible"}));
    EXPECT_EQ(profileValue("ControlDlgPosX"), 120);
    EXPECT_EQ(profileValue("ControlDlgPosY"), 80);
    EXPECT_EQ(profileValue("ControlDlgVisible"), 0);
    EXPECT_EQ(profileValue("TerminalDlgPosX"), 300);
    EXPECT_EQ(profileValue("TerminalDlgPosY"), 400);
    EXPECT_EQ(profileValue("TerminalDlgVisible"), 1);
    EXPECT_EQ(profileValue("CameraLinkDlgPosX"), 0);
    EXPECT_EQ(window.terminal(), nullptr);
    EXPECT_EQ(window.brevoPanel(), nullptr);
    EXPECT_TRUE(cameras->lastPort("r560")->closed);
    EXPECT_FALSE(window.connection().isOpen());
}

TEST_F(MainWindowTest, ClosingWithNeitherRecordsTwoEntries)
{
    window.OnInitDialog();
    window.move(33, 44);
    window.close();
    QStringList keys = windowKeys();
    keys.sort();
    EXPECT_EQ(keys, (QStringList{"CameraLinkDlgPosX", "CameraLinkDlgPosY"}));
    EXPECT_EQ(profileValue("CameraLinkDlgPosX"), 33);
    EXPECT_EQ(profileValue("CameraLinkDlgPosY"), 44);
}

TEST_F(MainWindowTest, EnterAndEscapeCloseTheMainWindowLikeExit)
{
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        SCOPED_TRACE(key);
        QSettings().clear();
        CCameraLinkDlg dlg(clock);
        dlg.setPageLists(recordingPages(kPageTitles), recordingPages(kPageTitles));
        dlg.setPortChooser([](const QString&, qint32) {
            return std::optional<PortChoice>(PortChoice{ScriptedCameraBackend::portName("tw640"), 38400});
        });
        dlg.OnInitDialog();
        dlg.show();
        QSignalSpy closed(&dlg, &CCameraLinkDlg::closed);
        QTest::keyClick(&dlg, key);
        EXPECT_EQ(closed.count(), 1);
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_EQ(windowKeys().size(), 8);
        EXPECT_FALSE(dlg.connection().isOpen());
        EXPECT_TRUE(cameras->lastPort("tw640")->closed);
    }
}

TEST_F(MainWindowTest, ClosingDuringAnExchangeWaitsUntilItIsOver)
{
    startWith("r560");
    QSignalSpy closed(&window, &CCameraLinkDlg::closed);
    {
        Connection::BusyScope busy(window.connection());
        window.close();
        EXPECT_EQ(closed.count(), 0);
        EXPECT_TRUE(window.connection().isOpen());
        EXPECT_NE(window.brevoPanel(), nullptr);
    }
    EXPECT_TRUE(closed.wait(2000));
    EXPECT_FALSE(window.connection().isOpen());
}
