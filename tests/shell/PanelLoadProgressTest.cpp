#include "CameraLinkDlg.h"
#include "CapturedMessages.h"
#include "SettingsTransfer.h"
#include "SendPath.h"
#include "ControlPanelTovane.h"
#include "PanelLoadProgress.h"
#include "Ports.h"
#include "QtPrinters.h"
#include "SimulatedCameras.h"
#include "tovane/TovanePages.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct Shown {
    QString text;
    qint64 atUs;
};

struct RecordingLoadView : PanelLoadProgressView {
    RecordingLoadView(QList<Shown>& shown, Clock& clock, QString cancelAt = {})
        : shown(shown), clock(clock), cancelAt(std::move(cancelAt))
    {
    }
    void showPage(const QString& title, int number, int count) override
    {
        shown.append({QStringLiteral("%1 %2/%3").arg(title).arg(number).arg(count), clock.nowUs()});
        cancelled = title == cancelAt;
    }
    bool cancelRequested() override { return cancelled; }
    QList<Shown>& shown;
    Clock& clock;
    // The user presses Cancel once this page is named.
    QString cancelAt;
    bool cancelled = false;
};

} // namespace

// The Tovane panel with its own eleven pages, loading from a simulated camera
// at 9600 baud on virtual time.
class PanelLoadProgressTest : public ::testing::Test {
protected:
    PanelLoadProgressTest()
    {
        connection.attach(OpenPort(SimulatedCameras::portOf("PTM-TW640"), 9600));
        connection.baudRate = 9600;
    }

    // Builds the panel; returns the lines the camera received meanwhile and
    // records when each page began.
    QByteArrayList loadPanel(const PanelLoadObserver& observer)
    {
        const qsizetype before = cameras.received("PTM-TW640").size();
        start = cameras.clock.nowUs();
        CControlPanelTovane panel(sendPath, "PTM-TW640", 1, tovanePages(),
                                  [&](const QString& title, int number, int count) {
                                      pageStarts.append({QStringLiteral("%1 %2/%3").arg(title).arg(number).arg(count),
                                                         cameras.clock.nowUs()});
                                      if (observer)
                                          observer(title, number, count);
                                  });
        return cameras.received("PTM-TW640").mid(before);
    }

    SimulatedCameras cameras;
    Connection connection{cameras.clock};
    SendPath sendPath{connection};
    qint64 start = 0;
    QList<Shown> pageStarts;
    QList<Shown> shown;
    int viewsCreated = 0;
};

TEST_F(PanelLoadProgressTest, AfterHalfASecondThePageBeingReadIsNamedAtItsNextLineThenEachPageOnceAndTheWireStaysTheSame)
{
    const QByteArrayList withoutProgress = loadPanel({});
    PanelLoadProgress progress(cameras.clock, [this] {
        ++viewsCreated;
        return std::make_unique<RecordingLoadView>(shown, cameras.clock);
    });
    const QByteArrayList withProgress = loadPanel(std::ref(progress));

    EXPECT_EQ(withProgress, withoutProgress);
    EXPECT_EQ(viewsCreated, 1);
    ASSERT_FALSE(shown.isEmpty());
    // The first page takes longer than half a second at 9600 baud: the view
    // names it at its first line after that, not only when the next page begins.
    EXPECT_EQ(shown.first().text, "General 1/11");
    EXPECT_GE(shown.first().atUs - start, PanelLoadProgress::kShowAfterMs * 1000);
    EXPECT_LT(shown.first().atUs - start, (PanelLoadProgress::kShowAfterMs + 100) * 1000);
    // Then every other page once, in turn, the ones that read nothing included.
    QStringList named;
    for (const Shown& s : std::as_const(shown))
        named << s.text;
    ASSERT_EQ(named.size(), 11);
    EXPECT_EQ(named.last(), "FrameBuffer 11/11");
}

TEST_F(PanelLoadProgressTest, APanelReadyWithinHalfASecondShowsNothing)
{
    PanelLoadProgress progress(cameras.clock, [this] {
        ++viewsCreated;
        return std::make_unique<RecordingLoadView>(shown, cameras.clock);
    });
    // Pages that read nothing.
    CControlPanelTovane panel(sendPath, "PTM-TW640", 1, {{"General", nullptr}, {"Gain", nullptr}},
                              std::ref(progress));
    EXPECT_EQ(viewsCreated, 0);
    EXPECT_EQ(panel.pageCount(), 2);
}

TEST_F(PanelLoadProgressTest, CancelEndsTheLoadBeforeItsNextLineClosesThePortAndOpensNoPanel)
{
    CCameraLinkDlg window(cameras.clock);
    connection.close();
    window.setPortChooser([](const QString&, qint32) {
        return std::optional<PortChoice>({SimulatedCameras::portOf("PTM-TW640"), 9600});
    });
    // The view is up only while the first page is read.
    window.setPanelLoadProgressView([this] { return std::make_unique<RecordingLoadView>(shown, cameras.clock, "General"); });
    window.OnInitDialog();

    // Not a line after Cancel was pressed.
    ASSERT_EQ(shown.last().text, "General 1/11");
    EXPECT_LT(cameras.camera("PTM-TW640").record().lines.back().atUs, shown.last().atUs);
    EXPECT_EQ(window.tovanePanel(), nullptr);
    EXPECT_FALSE(window.connection().isOpen());
    EXPECT_FALSE(cameras.isInUse("PTM-TW640"));
    EXPECT_TRUE(window.findChild<QLabel*>()->text().startsWith("Opening the control panel was cancelled"));
}

TEST_F(PanelLoadProgressTest, ReadingThePagesForAFileShowsTheSameProgressWhoseCancelWritesNothingAndKeepsThePort)
{
    CCameraLinkDlg window(cameras.clock);
    connection.close();
    window.setPortChooser([](const QString&, qint32) {
        return std::optional<PortChoice>({SimulatedCameras::portOf("PTM-TW640"), 9600});
    });
    QString cancelAt;
    window.setPanelLoadProgressView([&] { return std::make_unique<RecordingLoadView>(shown, cameras.clock, cancelAt); });
    window.OnInitDialog();
    ASSERT_NE(window.tovanePanel(), nullptr);
    ControlPanel& panel = *window.tovanePanel();
    QTemporaryDir dir;
    const QString path = dir.filePath("settings.txt");
    panel.settingsTransfer().setSaveFileChooser([&path](QWidget*, const QString&) { return path; });
    CapturedMessages messages;

    for (const char* at : {"Color", ""}) {
        SCOPED_TRACE(at);
        shown.clear();
        cancelAt = QString::fromLatin1(at);
        panel.saveSettingsButton()->click();
        ASSERT_FALSE(shown.isEmpty());
        EXPECT_EQ(shown.last().text, cancelAt.isEmpty() ? "FrameBuffer 11/11" : "Color 3/11");
        EXPECT_EQ(QFile::exists(path), cancelAt.isEmpty());
        EXPECT_EQ(messages.texts.size(), cancelAt.isEmpty() ? 1 : 0);
        EXPECT_TRUE(window.connection().isOpen());
    }
}

TEST(PanelLoadProgressDialog, NamesThePageAndHasCancel)
{
    PanelLoadProgressDialog view;
    view.showPage("Gain", 2, 11);
    QProgressDialog* dialog = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* candidate = qobject_cast<QProgressDialog*>(window); candidate && candidate->isVisible())
            dialog = candidate;
    }
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->labelText(), "Reading Gain, 2 of 11");
    EXPECT_EQ(dialog->maximum(), 11);
    EXPECT_EQ(dialog->value(), 1);
    ASSERT_EQ(dialog->findChildren<QPushButton*>().size(), 1);
    EXPECT_FALSE(view.cancelRequested());
    dialog->findChild<QPushButton*>()->click();
    EXPECT_TRUE(view.cancelRequested());
    EXPECT_TRUE(dialog->isModal());
}
