#include "CameraLinkDlg.h"
#include "CapturedMessages.h"
#include "ControlPanelBrevo.h"
#include "ControlPanelTovane.h"
#include "ControlPanel.h"
#include "DialogUnits.h"
#include "WindowPlacement.h"
#include "Ports.h"
#include "ScreenPlacement.h"
#include "QtPrinters.h"
#include "SimulatedCameras.h"
#include "TerminalDlg.h"
#include "TestPages.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QStringList kPageTitles = {"General", "Gain"};

// Shows nothing and is never cancelled.
struct SilentProgressView : DetectionProgressView {
    void showAttempt(int, qint32) override {}
    bool cancelRequested() override { return false; }
};

QStringList windowKeys()
{
    QSettings profile;
    profile.beginGroup("Window");
    QStringList keys = profile.childKeys();
    keys.sort();
    return keys;
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

// The line in the main window's client area that says what went wrong.
QString noticeOf(const CCameraLinkDlg& window)
{
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        if (label->accessibleName() == "Notice")
            return label->text();
    }
    ADD_FAILURE() << "no notice line";
    return {};
}

const QString kNoPortNotice = R"(No port is open. Choose one with "SerialPort" in the menu.)";

// The available area of the screen the tests' windows are on (the
// offscreen screen is a small one: narrower than the panels).
QRect availableArea(const QWidget& window)
{
    return areaForFrame(window.frameGeometry(), availableScreenAreas());
}

// Where the Tovane panel drags the main window: 85 pixels above the panel's
// client area, as far as the screen allows.
QRect stripPlace(const QWidget& panel, const QWidget& strip)
{
    const QRect wanted(panel.geometry().topLeft() - QPoint(0, 85), strip.frameGeometry().size());
    return fittedIntoArea(wanted, availableArea(strip));
}

// The room the panel keeps above its frame for the strip.
int roomAboveFor(const QWidget& panel)
{
    return 85 - (panel.geometry().y() - panel.frameGeometry().y());
}

} // namespace

// The main window with test pages in its panels, a port dialog that answers
// from a list of choices (Cancel when it is empty) and the simulated cameras.
class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest()
    {
        QSettings().clear();
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

    void choose(const QString& model, qint32 rate = 38400)
    {
        choices.append(PortChoice{SimulatedCameras::portOf(model), rate});
    }

    // As the application starts: the main window shows once the port is chosen.
    void startWith(const QString& model, qint32 rate = 38400)
    {
        choose(model, rate);
        window.OnInitDialog();
        window.show();
    }

    void trigger(const QString& menuText)
    {
        QAction* action = menuAction(window.menuBar(), menuText);
        ASSERT_NE(action, nullptr) << menuText.toStdString();
        action->trigger();
    }

    SimulatedCameras cameras;
    CapturedMessages messages;
    QList<QPointer<RecordingPage>> brevoPages;
    QList<QPointer<RecordingPage>> tovanePages;
    QList<PortChoice> choices;
    QList<QPair<QString, qint32>> offered;
    int progressViews = 0;
    CCameraLinkDlg window{cameras.clock};
};

TEST_F(MainWindowTest, TheMenuBarHoldsTheFourEntriesAndTheWireLog)
{
    QStringList bar;
    for (QAction* action : window.menuBar()->actions())
        bar << action->text();
    EXPECT_EQ(bar, (QStringList{"&File", "&Control", "&Terminal", "&SerialPort", "Wire &Log"}));
    QAction* file = window.menuBar()->actions().first();
    ASSERT_NE(file->menu(), nullptr);
    ASSERT_EQ(file->menu()->actions().size(), 1);
    EXPECT_EQ(file->menu()->actions().first()->text(), "E&xit");
    EXPECT_EQ(window.windowTitle(), "PK70App");
    EXPECT_FALSE(window.windowIcon().isNull());
}

TEST_F(MainWindowTest, StartUpTalksToTheCameraInOrder)
{
    cameras.camera("PTM-R560CL").setListeningRate(57600);
    startWith("PTM-R560CL", 9600);
    EXPECT_EQ(offered, (QList<QPair<QString, qint32>>{{QString(), 38400}}));
    EXPECT_EQ(window.connection().portName, "sim:PTM-R560CL");
    EXPECT_EQ(window.connection().baudRate, 57600);
    // The camera understands the detection try at its rate (two carriage
    // returns), the line of three carriage returns, identification after the
    // port choice and again before the panel, and the tap count.
    EXPECT_EQ(cameras.received("PTM-R560CL"),
              (QByteArrayList{"", "", "", "", "", "", "MODEL", "MODEL", "SENSOR-TAP"}));
    EXPECT_EQ(window.sensorTaps(), 4);
    ASSERT_NE(window.brevoPanel()->page(1), nullptr);
    ASSERT_EQ(brevoPages.size(), 2);
    EXPECT_EQ(brevoPages.at(0)->givenSensorTaps(), 4);
    EXPECT_EQ(&brevoPages.at(0)->givenConnection(), &window.connection());
    ASSERT_NE(window.terminal(), nullptr);
    EXPECT_FALSE(window.terminal()->isVisible());
    EXPECT_TRUE(messages.texts.isEmpty());
}

TEST_F(MainWindowTest, TheBrevoPanelStandsAtTheLeftBelowTheMenusAndTheMainWindowKeepsItsPlace)
{
    startWith("PTM-R290CL");
    ASSERT_NE(window.brevoPanel(), nullptr);
    const int belowTheMenus = window.menuBar()->mapToGlobal(QPoint(0, window.menuBar()->height())).y();
    EXPECT_EQ(window.brevoPanel()->frameGeometry().topLeft(), QPoint(0, belowTheMenus));
    EXPECT_EQ(window.frameGeometry().topLeft(), QPoint(0, 0));
    // Its frame narrowed to the small screen where its template is wider.
    const QSize frameExtra = window.frameGeometry().size() - window.size();
    EXPECT_EQ(window.frameGeometry().size(),
              (DialogUnits::standard().toPixels(612, 326) + frameExtra).boundedTo(availableArea(window).size()));
    EXPECT_EQ(window.tovanePanel(), nullptr);
}

TEST_F(MainWindowTest, WithATovaneCameraTheMainWindowBecomesAStripAboveThePanel)
{
    startWith("PTM-TW640M");
    CControlPanelTovane* panel = window.tovanePanel();
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(window.sensorTaps(), 1);
    EXPECT_EQ(tovanePages.at(0)->givenSensorTaps(), 1);
    EXPECT_FALSE(cameras.received("PTM-TW640M").contains("SENSOR-TAP"));
    const QRect strip = window.frameGeometry();
    const QRect area = availableArea(window);
    EXPECT_EQ(strip.height(), CCameraLinkDlg::kStripHeight);
    EXPECT_EQ(strip.width(), panel->frameGeometry().width());
    // The panel stands where the strip's bottom-left corner was; the strip,
    // which would then go 85 pixels above the panel's client area, past the
    // top of the screen, stops at the top.
    EXPECT_EQ(strip.topLeft(), area.topLeft());
    EXPECT_EQ(panel->frameGeometry().topLeft(), area.topLeft() + QPoint(0, CCameraLinkDlg::kStripHeight));
    EXPECT_EQ(strip, stripPlace(*panel, window));
    EXPECT_TRUE(area.contains(panel->frameGeometry())) << panel->frameGeometry().y();
}

TEST_F(MainWindowTest, ControlPlacesTheTovanePanelBesideTheMainWindowOrFlushRight)
{
    startWith("PTM-TW640");
    CControlPanelTovane* panel = window.tovanePanel();
    ASSERT_NE(panel, nullptr);
    panel->hide();
    const QRect area = availableArea(window);
    window.move(area.x() + 20, area.y() + 300);
    const QRect mainBefore = window.frameGeometry();
    const QRect screen = window.screen()->geometry();
    trigger("&Control");
    EXPECT_TRUE(panel->isVisible());
    const QPoint byTheRule =
        placeBesideMainWindow(mainBefore, panel->frameGeometry().width(), screen.x() + screen.width());
    EXPECT_EQ(panel->frameGeometry(),
              fittedIntoArea(QRect(byTheRule, panel->frameGeometry().size()), area, roomAboveFor(*panel)));
    // The main window then follows the panel.
    EXPECT_EQ(window.frameGeometry(), stripPlace(*panel, window));
}

TEST_F(MainWindowTest, OnASmallScreenNoWindowLeavesTheAvailableArea)
{
    startWith("PTM-TW640");
    CControlPanelTovane* panel = window.tovanePanel();
    ASSERT_NE(panel, nullptr);
    const QRect area = availableArea(window);
    const auto expectInside = [&area](const QWidget* w, const char* what) {
        EXPECT_TRUE(area.contains(w->frameGeometry())) << what << " at " << w->frameGeometry().x() << ","
                                                       << w->frameGeometry().y();
    };
    expectInside(&window, "strip after start-up");
    expectInside(panel, "panel after start-up");

    // "&Control" with the strip at the top right: the rule puts the panel
    // level with the strip and flush right, which would drag the strip up
    // past the top; the panel comes down instead and the strip stays on top.
    panel->hide();
    panel->move(area.x() + 100, area.y() + 300);
    window.move(area.right() - 50, area.top());
    trigger("&Control");
    expectInside(&window, "strip after \"&Control\"");
    expectInside(panel, "panel after \"&Control\"");
    EXPECT_EQ(window.frameGeometry().top(), area.top());
    EXPECT_EQ(panel->geometry().top() - 85, area.top());

    // The user drags the panel to the top: the strip stops at the top.
    panel->move(area.x() + 10, area.y());
    EXPECT_EQ(window.frameGeometry(), stripPlace(*panel, window));
    EXPECT_EQ(window.frameGeometry().top(), area.top());
    // ... and far to the bottom right: the strip stays on the screen.
    panel->move(area.right() + 500, area.bottom() + 500);
    expectInside(&window, "strip after a drag off the screen");
}

TEST_F(MainWindowTest, ControlShowsTheBrevoPanelWhereItWas)
{
    startWith("PTM-R140ML");
    CControlPanelPTM_Brevo* panel = window.brevoPanel();
    ASSERT_NE(panel, nullptr);
    panel->move(200, 100);
    const QRect left = panel->frameGeometry();
    panel->close();
    trigger("&Control");
    EXPECT_TRUE(panel->isVisible());
    // Only as far into the screen as the small screen makes it.
    EXPECT_EQ(panel->frameGeometry(), fittedIntoArea(left, availableArea(window)));
    EXPECT_EQ(panel->frameGeometry().y(), 100);
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
    startWith("PTM-6006");
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
    cameras.camera("PTM-TW640").refuseCommand("MODEL");
    cameras.camera("PTM-TW640").refuseCommand("VERSION");
    startWith("PTM-TW640");
    EXPECT_EQ(window.windowTitle(), "");
    EXPECT_EQ(window.model(), "");
    EXPECT_EQ(cameras.received("PTM-TW640").mid(6), (QByteArrayList{"MODEL", "VERSION", "MODEL", "VERSION"}));
    EXPECT_EQ(window.brevoPanel(), nullptr);
    EXPECT_EQ(window.tovanePanel(), nullptr);
}

TEST_F(MainWindowTest, WithNoCameraAnsweringDetectionStores4800AfterShowingItsProgress)
{
    cameras.camera("PTM-R560CL").setSilent(true);
    const qint64 start = cameras.clock.nowUs();
    startWith("PTM-R560CL");
    EXPECT_EQ(window.connection().baudRate, kNoRateFound);
    EXPECT_EQ(progressViews, 1);
    EXPECT_GE((cameras.clock.nowUs() - start) / 1e6, 27.0);
    EXPECT_EQ(window.model(), "");
}

TEST_F(MainWindowTest, WhenNoPanelOpensTheWindowSaysWhy)
{
    const struct {
        const char* what;
        std::function<void(SimulatedCameras&)> fault;
        QString model; // empty: the port dialog is cancelled
        bool held;     // another program holds the port
        QString notice;
    } cases[] = {
        {"a silent camera", [](SimulatedCameras& c) { c.camera("PTM-R560CL").setSilent(true); }, "PTM-R560CL", false,
         "No camera answered on sim:PTM-R560CL at any baud rate."},
        {"noise", [](SimulatedCameras& c) { c.camera("PTM-R290CL").setGarbageAnswers(true); }, "PTM-R290CL", false,
         "No camera answered on sim:PTM-R290CL at any baud rate."},
        {"a refused MODEL",
         [](SimulatedCameras& c) {
             c.camera("PTM-TW640").refuseCommand("MODEL");
             c.camera("PTM-TW640").refuseCommand("VERSION");
         },
         "PTM-TW640", false, "No camera answered on sim:PTM-TW640 at 9600 baud: no model name came back."},
        {"a model without a panel", nullptr, "PTM-6006", false,
         "PTM-6006 answered on sim:PTM-6006; this model has no control panel."},
        {"a held port", nullptr, "PTM-R140ML", true,
         R"(No port is open: sim:PTM-R140ML could not be opened. Choose a port with "SerialPort" in the menu.)"},
        {"the port dialog cancelled", nullptr, "", false, kNoPortNotice},
        {"a camera with its panel", nullptr, "PTM-TW640M", false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.fault)
            c.fault(cameras);
        const std::unique_ptr<SerialPort> held = c.held ? cameras.open(c.model) : nullptr;
        CCameraLinkDlg dlg(cameras.clock);
        dlg.setPageLists(recordingPages(kPageTitles), recordingPages(kPageTitles));
        dlg.setDetectionProgressView([] { return std::make_unique<SilentProgressView>(); });
        dlg.setPortChooser([&c](const QString&, qint32) -> std::optional<PortChoice> {
            if (c.model.isEmpty())
                return std::nullopt;
            return PortChoice{SimulatedCameras::portOf(c.model), 38400};
        });
        dlg.OnInitDialog();
        EXPECT_EQ(noticeOf(dlg), c.notice);
    }
}

TEST_F(MainWindowTest, TheNoticeFollowsEachLaterPortChoice)
{
    startWith("PTM-TW640");
    EXPECT_EQ(noticeOf(window), "");
    choose("PTM-6006");
    trigger("&SerialPort");
    EXPECT_EQ(noticeOf(window), "PTM-6006 answered on sim:PTM-6006; this model has no control panel.");
    trigger("&SerialPort"); // cancelled
    EXPECT_EQ(noticeOf(window), kNoPortNotice);
    choose("PTM-TW640M");
    trigger("&SerialPort");
    EXPECT_EQ(noticeOf(window), "");
}

TEST_F(MainWindowTest, AHeldPortIsReportedOnceForEachChoiceAndNothingOpens)
{
    auto held = cameras.open("PTM-R560CL");
    startWith("PTM-R560CL", 9600);
    EXPECT_FALSE(window.connection().isOpen());
    EXPECT_EQ(window.connection().baudRate, kNoRateFound);
    EXPECT_EQ(messages.texts, QStringList{kPortInUseMessage});
    EXPECT_EQ(window.terminal(), nullptr);
    EXPECT_EQ(window.brevoPanel(), nullptr);
    EXPECT_EQ(window.tovanePanel(), nullptr);
    EXPECT_EQ(progressViews, 0);

    choose("PTM-R560CL");
    trigger("&SerialPort");
    EXPECT_EQ(messages.texts, QStringList(2, kPortInUseMessage));

    // Once the other program lets go, choosing the port again works.
    held.reset();
    choose("PTM-R560CL");
    trigger("&SerialPort");
    EXPECT_TRUE(window.connection().isOpen());
    EXPECT_EQ(window.model(), "PTM-R560CL");
    EXPECT_NE(window.terminal(), nullptr);
    EXPECT_EQ(messages.texts.size(), 2);
}

TEST_F(MainWindowTest, ALaterPortOpensItsCamerasPanelAsAtStartUpInPlaceOfTheOneBefore)
{
    const struct {
        const char* first;
        const char* second;
        CameraFamily family;
    } cases[] = {
        {"PTM-TW640", "PTM-R560CL", CameraFamily::Brevo},
        {"PTM-R290CL", "PTM-TW640M", CameraFamily::Tovane},
        {"PTM-R290CL", "PTM-R140ML", CameraFamily::Brevo},
        {"PTM-TW640M", "PTM-6006", CameraFamily::None},
    };
    const auto startedWindow = [this](QList<QString> ports) {
        auto dlg = std::make_unique<CCameraLinkDlg>(cameras.clock);
        dlg->setPageLists(recordingPages(kPageTitles), recordingPages(kPageTitles));
        dlg->setPortChooser([ports](const QString&, qint32) mutable -> std::optional<PortChoice> {
            return PortChoice{SimulatedCameras::portOf(ports.takeFirst()), 38400};
        });
        dlg->OnInitDialog();
        dlg->show();
        return dlg;
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.first) + " then " + c.second);
        QSettings().clear();
        // What a start-up with the second camera puts on its wire.
        startedWindow({c.second})->close();
        const QByteArrayList startUpWire = cameras.received(c.second);
        cameras.camera(c.second).clearRecord();

        const std::unique_ptr<CCameraLinkDlg> dlg = startedWindow({c.first, c.second});
        const QPointer<QWidget> before =
            dlg->brevoPanel() ? static_cast<QWidget*>(dlg->brevoPanel()) : dlg->tovanePanel();
        ASSERT_FALSE(before.isNull());
        CTerminalDlg* terminal = dlg->terminal();
        menuAction(dlg->menuBar(), "&SerialPort")->trigger();

        EXPECT_TRUE(before.isNull());
        EXPECT_EQ(cameras.received(c.second), startUpWire);
        EXPECT_EQ(dlg->windowTitle(), c.second);
        EXPECT_EQ(dlg->terminal(), terminal);
        ControlPanel* panel = c.family == CameraFamily::Brevo ? static_cast<ControlPanel*>(dlg->brevoPanel())
                                                              : dlg->tovanePanel();
        EXPECT_EQ(panel != nullptr, c.family != CameraFamily::None);
        if (panel) {
            EXPECT_EQ(panel->model(), c.second);
            // "&Control" brings it back.
            panel->hide();
            menuAction(dlg->menuBar(), "&Control")->trigger();
            EXPECT_TRUE(panel->isVisible());
            // The Tovane panel makes this window its strip; the Brevo panel leaves it as it was made.
            EXPECT_EQ(dlg->frameGeometry().height() == CCameraLinkDlg::kStripHeight, c.family == CameraFamily::Tovane);
        }
        dlg->close();
        EXPECT_EQ(windowKeys().contains("ControlDlgPosX"), c.family != CameraFamily::None);
    }
}

TEST_F(MainWindowTest, CancellingTheSerialPortDialogLaterLeavesThePortClosed)
{
    startWith("PTM-R290CL");
    trigger("&SerialPort");
    EXPECT_FALSE(window.connection().isOpen());
    EXPECT_FALSE(cameras.isInUse("PTM-R290CL"));
    EXPECT_NE(window.brevoPanel(), nullptr);
    EXPECT_EQ(window.model(), "PTM-R290CL");
}

TEST_F(MainWindowTest, SerialPortWhileAnExchangeRunsIsIgnored)
{
    startWith("PTM-R290CL");
    const int asked = offered.size();
    {
        Connection::BusyScope busy(window.connection());
        trigger("&SerialPort");
    }
    EXPECT_EQ(offered.size(), asked);
    EXPECT_TRUE(window.connection().isOpen());
}

TEST_F(MainWindowTest, TerminalWithoutAPortSaysSoInTheWindowAndOpensNothing)
{
    window.OnInitDialog();
    trigger("&Terminal");
    EXPECT_EQ(window.terminal(), nullptr);
    EXPECT_FALSE(window.connection().isOpen());
    EXPECT_EQ(window.connection().portName, "");
    EXPECT_TRUE(messages.texts.isEmpty());
    EXPECT_EQ(noticeOf(window), kNoPortNotice);
}

TEST_F(MainWindowTest, TerminalOpensOnThePortChosenLast)
{
    // The port was held at start-up, and is free when the user asks for the terminal.
    auto held = cameras.open("PTM-R560CL");
    startWith("PTM-R560CL", 9600);
    ASSERT_EQ(window.terminal(), nullptr);
    held.reset();
    trigger("&Terminal");
    ASSERT_NE(window.terminal(), nullptr);
    EXPECT_TRUE(window.terminal()->isVisible());
    EXPECT_EQ(window.connection().portName, "sim:PTM-R560CL");
    EXPECT_TRUE(cameras.isInUse("PTM-R560CL"));
    EXPECT_EQ(messages.texts, QStringList{kPortInUseMessage});
    EXPECT_EQ(noticeOf(window), "");
}

TEST_F(MainWindowTest, ClosingWithPanelAndTerminalRecordsEightEntries)
{
    startWith("PTM-R560CL");
    window.brevoPanel()->move(120, 80);
    trigger("&Terminal");
    window.terminal()->move(300, 400);
    window.brevoPanel()->hide();
    window.move(15, 25);
    QSignalSpy closed(&window, &CCameraLinkDlg::closed);
    trigger("E&xit");
    EXPECT_EQ(closed.count(), 1);
    EXPECT_EQ(windowKeys(), (QStringList{"CameraLinkDlgPosX", "CameraLinkDlgPosY", "ControlDlgPosX",
                                         "ControlDlgPosY", "ControlDlgVisible", "TerminalDlgPosX",
                                         "TerminalDlgPosY", "TerminalDlgVisible"}));
    const struct {
        const char* key;
        int value;
    } expected[] = {{"CameraLinkDlgPosX", 15}, {"CameraLinkDlgPosY", 25}, {"ControlDlgPosX", 120},
                    {"ControlDlgPosY", 80},    {"ControlDlgVisible", 0},  {"TerminalDlgPosX", 300},
                    {"TerminalDlgPosY", 400},  {"TerminalDlgVisible", 1}};
    for (const auto& e : expected)
        EXPECT_EQ(profileValue(e.key), e.value) << e.key;
    EXPECT_EQ(window.terminal(), nullptr);
    EXPECT_EQ(window.brevoPanel(), nullptr);
    EXPECT_FALSE(window.connection().isOpen());
    EXPECT_FALSE(cameras.isInUse("PTM-R560CL"));
}

TEST_F(MainWindowTest, ClosingWithNeitherRecordsTwoEntries)
{
    window.OnInitDialog();
    window.move(33, 44);
    window.close();
    EXPECT_EQ(windowKeys(), (QStringList{"CameraLinkDlgPosX", "CameraLinkDlgPosY"}));
    EXPECT_EQ(profileValue("CameraLinkDlgPosX"), 33);
    EXPECT_EQ(profileValue("CameraLinkDlgPosY"), 44);
}

TEST_F(MainWindowTest, EnterDoesNothingWhileEscapeAndExitCloseTheWindow)
{
    const struct {
        const char* what;
        std::function<void(CCameraLinkDlg&)> press;
        bool closes;
    } cases[] = {
        {"Return", [](CCameraLinkDlg& dlg) { QTest::keyClick(&dlg, Qt::Key_Return); }, false},
        {"Enter", [](CCameraLinkDlg& dlg) { QTest::keyClick(&dlg, Qt::Key_Enter); }, false},
        {"Escape", [](CCameraLinkDlg& dlg) { QTest::keyClick(&dlg, Qt::Key_Escape); }, true},
        {"Exit", [](CCameraLinkDlg& dlg) { menuAction(dlg.menuBar(), "E&xit")->trigger(); }, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QSettings().clear();
        CCameraLinkDlg dlg(cameras.clock);
        dlg.setPageLists(recordingPages(kPageTitles), recordingPages(kPageTitles));
        dlg.setPortChooser([](const QString&, qint32) {
            return std::optional<PortChoice>(PortChoice{SimulatedCameras::portOf("PTM-TW640"), 38400});
        });
        int questions = 0;
        dlg.setCloseQuestion([&questions](QWidget*, const QString&) { return ++questions, true; });
        dlg.OnInitDialog();
        dlg.show();
        QSignalSpy closed(&dlg, &CCameraLinkDlg::closed);
        c.press(dlg);
        EXPECT_EQ(closed.count(), c.closes ? 1 : 0);
        EXPECT_EQ(dlg.isVisible(), !c.closes);
        EXPECT_EQ(windowKeys().size(), c.closes ? 8 : 0);
        EXPECT_EQ(dlg.connection().isOpen(), !c.closes);
        EXPECT_EQ(cameras.isInUse("PTM-TW640"), !c.closes);
        // Nothing runs that closing would cut short.
        EXPECT_EQ(questions, 0);
    }
}

TEST_F(MainWindowTest, ClosingDuringAnExchangeWaitsUntilItIsOver)
{
    startWith("PTM-R560CL");
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
