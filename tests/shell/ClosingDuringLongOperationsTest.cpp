// Closing the panel or the whole application while a detection or the
// shading demonstration runs: nothing crashes, the detection ends at its next
// poll, the main window is destroyed only afterwards, and the camera hears no
// line after the close. The simulated cameras are told that their detections
// never finish, so only the close can end them.

#include "CameraLinkDlg.h"
#include "CapturedMessages.h"
#include "ControlPanel.h"
#include "ControlPanelBrevo.h"
#include "ControlPanelTovane.h"
#include "LongOperation.h"
#include "Polling.h"
#include "SettingsTransfer.h"
#include "SimulatedCameras.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTabWidget>

#include <gtest/gtest.h>

namespace {

enum class Closed { Panel, Application };

struct Operation {
    const char* model;
    const char* tab;
    const char* button; // caption or accessible name
};

std::ostream& operator<<(std::ostream& os, const Operation& op)
{
    return os << op.model << " " << op.tab << " " << op.button;
}

std::ostream& operator<<(std::ostream& os, Closed what)
{
    return os << (what == Closed::Panel ? "the panel" : "the application");
}

QAbstractButton* buttonOn(QWidget* page, const QString& name)
{
    for (QAbstractButton* button : page->findChildren<QAbstractButton*>()) {
        if (button->text() == name || button->accessibleName() == name)
            return button;
    }
    return nullptr;
}

class ClosingDuring : public ::testing::Test {
protected:
    ClosingDuring()
    {
        window.setCloseQuestion([this](QWidget*, const QString& text) {
            questions << text;
            return closeWhenAsked;
        });
    }

    ControlPanel* open(const QString& model, const QString& tab)
    {
        const QString port = SimulatedCameras::portOf(model);
        window.setPortChooser([port](const QString&, qint32) { return std::optional<PortChoice>({port, 9600}); });
        window.OnInitDialog();
        ControlPanel* panel = window.brevoPanel() ? static_cast<ControlPanel*>(window.brevoPanel())
                                                  : static_cast<ControlPanel*>(window.tovanePanel());
        for (int i = 0; panel && i < panel->tabs()->count(); ++i) {
            if (panel->tabs()->tabText(i) == tab)
                panel->tabs()->setCurrentIndex(i);
        }
        return panel;
    }

    void close(Closed what, ControlPanel* panel)
    {
        if (what == Closed::Panel)
            panel->close();
        else
            window.close();
    }

    SimulatedCameras cameras;
    CapturedMessages messages;
    CCameraLinkDlg window{cameras.clock};
    QStringList questions;
    bool closeWhenAsked = true;
};

class ClosingDuringADetection : public ClosingDuring,
                                public ::testing::WithParamInterface<std::tuple<Operation, Closed>> {};

TEST_P(ClosingDuringADetection, EndsItAtItsNextPollAndNothingIsSentAfterTheClose)
{
    const auto& [operation, what] = GetParam();
    const QString model = QString::fromLatin1(operation.model);
    ControlPanel* panel = open(model, QString::fromLatin1(operation.tab));
    ASSERT_NE(panel, nullptr);
    QAbstractButton* start = buttonOn(panel->tabs()->currentWidget(), QString::fromLatin1(operation.button));
    ASSERT_NE(start, nullptr);
    const QString caption = start->text();
    cameras.camera(model).setDetectionsNeverFinish(true);
    QSignalSpy closedSignal(&window, &CCameraLinkDlg::closed);

    // Five seconds into the detection, the user closes.
    qsizetype linesAtClose = -1;
    int runs = 0;
    const PendingEventsRunner previous = setPendingEventsRunner([&] {
        if (++runs == 5000 / LongOperation::kSliceMs) {
            linesAtClose = cameras.received(model).size();
            close(what, panel);
        }
    });
    start->click();
    setPendingEventsRunner(previous);

    ASSERT_GE(linesAtClose, 0) << "the detection ended before the close";
    if (what == Closed::Application) {
        // The window asked, waited for the detection to end, and closes now.
        ASSERT_EQ(questions.size(), 1);
        EXPECT_TRUE(questions.first().startsWith("A detection is running")) << questions.first().toStdString();
        EXPECT_EQ(closedSignal.count(), 0);
        EXPECT_TRUE(closedSignal.wait(2000));
        EXPECT_EQ(window.brevoPanel(), nullptr);
        EXPECT_EQ(window.tovanePanel(), nullptr);
        EXPECT_FALSE(window.connection().isOpen());
    } else {
        EXPECT_TRUE(questions.isEmpty());
        EXPECT_FALSE(panel->isVisible());
        EXPECT_EQ(start->text(), caption);
        EXPECT_TRUE(start->isEnabled());
        window.close();
    }
    EXPECT_EQ(cameras.received(model).size(), linesAtClose);
    EXPECT_TRUE(messages.texts.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    EveryLongOperation, ClosingDuringADetection,
    ::testing::Combine(::testing::Values(Operation{"PTM-R290CL", "Shading", "Detection"},
                                         Operation{"PTM-R290CL", "Shading", "Detect && Save"},
                                         Operation{"PTM-TW640", "Shading", "PeakMode"},
                                         Operation{"PTM-TW640", "Shading", "Detect&&Save(AverageMode)"},
                                         Operation{"PTM-TW640M", "Defect", "Black Pixel Start Detection"}),
                       ::testing::Values(Closed::Panel, Closed::Application)),
    [](const auto& info) {
        const std::string what = std::get<1>(info.param) == Closed::Panel ? "Panel" : "Application";
        return std::get<0>(info.param).tab + std::to_string(info.index / 2) + what;
    });

// Stopped by the user, and another control used meanwhile: the other
// control's line goes out between two polls, Stop ends the polling at once
// and tells the camera to stop, and the progress line says so.
struct Interrupted {
    Operation operation;
    const char* stop;      // the Stop button's accessible name
    const char* progress;  // the progress line's accessible name
    const char* other;     // a control used during the detection
    QByteArray otherLine;  // what it sends
    QByteArray poll;       // the detection's own word
};

void PrintTo(const Interrupted& c, std::ostream* os)
{
    *os << c.operation;
}

class InterruptingADetection : public ClosingDuring, public ::testing::WithParamInterface<Interrupted> {};

TEST_P(InterruptingADetection, SendsTheOtherControlBetweenTwoPollsAndStopsTheCameraAtStop)
{
    const Interrupted& c = GetParam();
    const QString model = QString::fromLatin1(c.operation.model);
    ControlPanel* panel = open(model, QString::fromLatin1(c.operation.tab));
    ASSERT_NE(panel, nullptr);
    QWidget* page = panel->tabs()->currentWidget();
    QAbstractButton* start = buttonOn(page, QString::fromLatin1(c.operation.button));
    QAbstractButton* stop = buttonOn(page, QString::fromLatin1(c.stop));
    ASSERT_TRUE(start && stop);
    EXPECT_FALSE(stop->isEnabled());
    const QString caption = start->text();
    cameras.camera(model).setDetectionsNeverFinish(true);
    cameras.camera(model).clearRecord();

    // The user's clicks come on the camera's time, however often the
    // window's events run meanwhile.
    const qint64 startMs = cameras.clock.nowMs();
    bool otherClicked = false;
    bool stopClicked = false;
    const PendingEventsRunner previous = setPendingEventsRunner([&] {
        const qint64 elapsedMs = cameras.clock.nowMs() - startMs;
        if (!otherClicked && elapsedMs >= 2500) {
            otherClicked = true;
            buttonOn(page, QString::fromLatin1(c.other))->click();
        }
        if (!stopClicked && elapsedMs >= 6000) {
            stopClicked = true;
            stop->click();
        }
        // A click that came during an exchange waits for the event loop.
        QCoreApplication::processEvents();
    });
    start->click();
    setPendingEventsRunner(previous);

    const QByteArrayList lines = cameras.received(model);
    const qsizetype other = lines.indexOf(c.otherLine);
    ASSERT_GT(other, 1) << lines.join(' ').toStdString();
    EXPECT_EQ(lines.at(other - 1), c.poll);
    EXPECT_EQ(lines.at(other + 1), c.poll);
    EXPECT_EQ(lines.last(), c.poll + " 0");
    EXPECT_EQ(lines.at(lines.size() - 2), c.poll);
    EXPECT_TRUE(stopClicked);
    EXPECT_LT(cameras.clock.nowMs() - startMs, 8000);
    EXPECT_EQ(start->text(), caption);
    EXPECT_TRUE(start->isEnabled());
    EXPECT_FALSE(stop->isEnabled());
    QLabel* progress = nullptr;
    for (QLabel* label : page->findChildren<QLabel*>()) {
        if (label->accessibleName() == QLatin1String(c.progress))
            progress = label;
    }
    ASSERT_NE(progress, nullptr);
    EXPECT_TRUE(progress->text().startsWith("Detection stopped after ")) << progress->text().toStdString();
    EXPECT_EQ(progress->accessibleDescription(), progress->text());
}

INSTANTIATE_TEST_SUITE_P(
    EveryLongOperation, InterruptingADetection,
    ::testing::Values(Interrupted{{"PTM-R290CL", "Shading", "Detection"}, "Stop detection", "Detection progress",
                                  "Select", "SHADING-PATTERN-LOAD 0", "SHADING-DETECTION"},
                      Interrupted{{"PTM-TW640", "Shading", "AverageMode"}, "Stop detection", "Detection progress",
                                  "Shading Correction", "SHADING-CORRECTION 1", "SHADING-DETECTION"},
                      Interrupted{{"PTM-TW640M", "Defect", "White Pixel Start Detection"}, "White Pixel Stop detection",
                                  "White Pixel Detection progress", "Load User Data", "DEFECT-PATTERN-LOAD 1",
                                  "DEFECT-DETECTION"}),
    [](const auto& info) { return std::string(info.param.operation.tab) + std::to_string(info.index); });

TEST_F(ClosingDuring, ExitAnsweredNoLeavesADetectionRunningToItsEnd)
{
    closeWhenAsked = false;
    ControlPanel* panel = open(QStringLiteral("PTM-TW640"), QStringLiteral("Shading"));
    ASSERT_NE(panel, nullptr);
    QAbstractButton* start = buttonOn(panel->tabs()->currentWidget(), QStringLiteral("PeakMode"));
    QSignalSpy closedSignal(&window, &CCameraLinkDlg::closed);
    qsizetype linesAtExit = -1;
    int runs = 0;
    const PendingEventsRunner previous = setPendingEventsRunner([&] {
        if (++runs == 2000 / LongOperation::kSliceMs) {
            linesAtExit = cameras.received("PTM-TW640").size();
            window.close(); // "E&xit"
        }
    });
    start->click();
    setPendingEventsRunner(previous);
    QCoreApplication::processEvents();

    ASSERT_GE(linesAtExit, 0) << "the detection ended before the exit";
    EXPECT_EQ(questions.size(), 1);
    // The detection went on polling and finished; the window stays.
    EXPECT_GT(cameras.received("PTM-TW640").size(), linesAtExit);
    EXPECT_TRUE(start->isEnabled());
    EXPECT_EQ(closedSignal.count(), 0);
    EXPECT_TRUE(window.connection().isOpen());
}

TEST_F(ClosingDuring, ExitDuringASettingsTransferAsksAndClosesOnceTheFileIsApplied)
{
    ControlPanel* panel = open(QStringLiteral("PTM-TW640M"), QStringLiteral("General"));
    ASSERT_NE(panel, nullptr);
    QTemporaryDir directory;
    const QString file = directory.filePath("settings.txt");
    ASSERT_TRUE(panel->settingsTransfer().saveTo(file, QDateTime::currentDateTime()));
    // The user closes the window while the second line goes out.
    struct ClosingView : ApplyProgressView {
        explicit ClosingView(CCameraLinkDlg& window) : window(window) {}
        void showLine(int index, int, const QByteArray&) override
        {
            if (index == 1)
                window.close();
        }
        bool cancelRequested() override { return false; }
        CCameraLinkDlg& window;
    };
    panel->settingsTransfer().setProgressView([this](QWidget*, int) { return std::make_unique<ClosingView>(window); });
    QSignalSpy closedSignal(&window, &CCameraLinkDlg::closed);

    EXPECT_EQ(panel->settingsTransfer().applyFrom(file), SettingsTransfer::Outcome::Applied);
    ASSERT_EQ(questions.size(), 1);
    EXPECT_TRUE(questions.first().startsWith("Settings are being saved or applied")) << questions.first().toStdString();
    EXPECT_EQ(closedSignal.count(), 0);
    EXPECT_TRUE(closedSignal.wait(2000));
    EXPECT_FALSE(window.connection().isOpen());
}

TEST_F(ClosingDuring, TheDemonstrationClosingThePanelStopsItsTimer)
{
    ControlPanel* panel = open(QStringLiteral("PTM-R560CL"), QStringLiteral("Shading"));
    ASSERT_NE(panel, nullptr);
    QWidget* page = panel->tabs()->currentWidget();
    buttonOn(page, QStringLiteral("Demo Start"))->click();
    auto* timer = page->findChild<PageTimer*>();
    ASSERT_NE(timer, nullptr);
    ASSERT_TRUE(timer->isActive());

    panel->close();
    EXPECT_FALSE(timer->isActive());
    EXPECT_NE(buttonOn(page, QStringLiteral("Demo Start")), nullptr);
}

TEST_F(ClosingDuring, TheDemonstrationClosingTheApplicationTakesTheTimerWithThePanel)
{
    ControlPanel* panel = open(QStringLiteral("PTM-R560CL"), QStringLiteral("Shading"));
    ASSERT_NE(panel, nullptr);
    QWidget* page = panel->tabs()->currentWidget();
    for (QLineEdit* edit : page->findChildren<QLineEdit*>()) {
        if (edit->accessibleName() == "Intervals")
            edit->setText(QStringLiteral("1"));
    }
    buttonOn(page, QStringLiteral("Demo Start"))->click();
    QPointer<PageTimer> timer = page->findChild<PageTimer*>();
    ASSERT_TRUE(timer && timer->isActive());
    QSignalSpy closedSignal(&window, &CCameraLinkDlg::closed);

    window.close();
    EXPECT_EQ(closedSignal.count(), 1);
    EXPECT_TRUE(timer.isNull());
    EXPECT_FALSE(window.connection().isOpen());
}

} // namespace
