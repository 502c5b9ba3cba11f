// The Tovane "Shading" page on virtual time: its reads, detection in both
// modes counted on the mode's button to the camera's end and to the limit,
// Detect&Save, the one-way settings, refusals, and the captions painted while
// a detection runs. A scripted camera gives the range no simulated one has.

#include "CapturedMessages.h"
#include "PageTesting.h"
#include "SimPageTest.h"
#include "tovane/TovaneShadingPage.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QPushButton>

namespace {

QByteArrayList polls(int count)
{
    return QByteArrayList(count, "SHADING-DETECTION");
}

class TovaneShadingPage : public SimPageTest {
protected:
    TovaneShadingPage() { useModel(QStringLiteral("PTM-TW640")); }

    void openPage()
    {
        page = open<CTovaneShadingPage>();
        camera->clearRecord();
    }

    QAbstractButton* button(const char* text) const { return findButton(page.get(), QString::fromLatin1(text)); }
    QComboBox* slotList() const { return findNamed<QComboBox>(page.get(), QStringLiteral("PatternSelect")); }

    // Every caption a button showed while the page waited between polls.
    QStringList captionsDuringRun(QAbstractButton* watched, QAbstractButton* pressed)
    {
        QStringList captions;
        EventsDuringPauses events;
        events.onRun = [&] {
            if (captions.isEmpty() || captions.last() != watched->text())
                captions << watched->text();
        };
        pressed->click();
        return captions;
    }

    std::unique_ptr<Page> page;
    CapturedMessages messages;
};

TEST_F(TovaneShadingPage, OpeningReadsTheSlotRangeThenBothSwitchesAndListsEverySlot)
{
    given("SHADING-CORRECTION 1");
    page = open<CTovaneShadingPage>();
    EXPECT_EQ(sent(), (QByteArrayList{"HELP SHADING-PATTERN-SAVE", "SHADING-PATTERN-CHECK", "SHADING-CORRECTION"}));
    EXPECT_EQ(itemsOf(slotList()), (QStringList{"0", "1", "2", "3", "4", "5", "6", "7"}));
    EXPECT_EQ(slotList()->currentIndex(), 0);
    EXPECT_FALSE(button("ShadingPatternCheck")->isChecked());
    EXPECT_TRUE(button("Shading Correction")->isChecked());
}

TEST_F(TovaneShadingPage, PeakDetectionCountsTheSecondsOnItsButtonUntilTheCameraReportsTheEnd)
{
    openPage();
    QAbstractButton* peak = button("PeakMode");
    bool disabledMeanwhile = false;
    camera->setLineObserver([&](qint64, const QByteArray&) { disabledMeanwhile = !peak->isEnabled(); });

    // The camera takes 3.5 s: busy at the polls after 1, 2 and 3 seconds.
    EXPECT_EQ(captionsDuringRun(peak, peak), (QStringList{"PeakMode", "PeakMode(1)", "PeakMode(2)", "PeakMode(3)"}));
    EXPECT_EQ(sent(), QByteArrayList{"SHADING-DETECTION 1"} + polls(4));
    EXPECT_TRUE(disabledMeanwhile);
    EXPECT_EQ(peak->text(), QStringLiteral("PeakMode"));
    EXPECT_TRUE(peak->isEnabled());
    // A second between polls (the start line is longer, so it ends its wire time later).
    const auto& lines = camera->record().lines;
    for (size_t i = 2; i < lines.size(); ++i) {
        EXPECT_GE(lines[i].atUs - lines[i - 1].atUs, 1000000) << i;
        EXPECT_LT(lines[i].atUs - lines[i - 1].atUs, 1100000) << i;
    }
}

TEST_F(TovaneShadingPage, AStartTheCameraRefusesChangesNoCaptionPollsNothingAndSavesNothing)
{
    // With the correction on the camera refuses to start.
    given("SHADING-CORRECTION 1");
    openPage();
    QAbstractButton* pressed = button("Detect&&Save(AverageMode)");
    EXPECT_EQ(captionsDuringRun(button("AverageMode"), pressed), QStringList{});
    EXPECT_EQ(sent(), (QByteArrayList{"SHADING-DETECTION 2", "GET-LAST-ERROR"}));
    EXPECT_TRUE(button("AverageMode")->isEnabled());
    EXPECT_TRUE(pressed->isEnabled());
}

TEST_F(TovaneShadingPage, DetectAndSaveAverageCountsOnTheModeButtonThenSavesTheSelectedSlot)
{
    openPage();
    choose(slotList(), 5);
    QAbstractButton* pressed = button("Detect&&Save(AverageMode)");
    bool pressedDisabled = false;
    camera->setLineObserver([&](qint64, const QByteArray& line) {
        if (line == "SHADING-DETECTION")
            pressedDisabled = !pressed->isEnabled();
    });
    const qint64 start = clock.nowUs();

    // Average detection takes the camera 5.5 s.
    EXPECT_EQ(captionsDuringRun(button("AverageMode"), pressed).last(), QStringLiteral("AverageMode(5)"));
    EXPECT_EQ(sent(), QByteArrayList{"SHADING-DETECTION 2"} + polls(6) + QByteArrayList{"SHADING-PATTERN-SAVE 5"});
    EXPECT_TRUE(pressedDisabled);
    EXPECT_TRUE(pressed->isEnabled());
    EXPECT_EQ(button("AverageMode")->text(), QStringLiteral("AverageMode"));
    EXPECT_EQ(camera->savedShadingPattern(5), 1);
    // Storing took the camera 1.5 s, and the page waited for it.
    EXPECT_GE(clock.nowUs() - start, 6000000 + 1500000);
}

TEST_F(TovaneShadingPage, ASaveSlowerThanASecondIsWaitedForUpToThirtySeconds)
{
    given("SHADING-DETECTION 1");
    clock.sleepMs(4000);
    openPage();
    camera->setExtraLatencyUs(20000000);
    button("Save")->click();
    camera->setExtraLatencyUs(0);
    // The late answer was the Save's own: the next exchange gets its own answer.
    EXPECT_EQ(reported("SHADING-PATTERN-LOAD"), 0);
    EXPECT_EQ(camera->savedShadingPattern(0), 1);
}

TEST_F(TovaneShadingPage, ADetectionThatNeverEndsGivesUpAfterItsLimitWithoutSaving)
{
    camera->setDetectionsNeverFinish(true);
    openPage();
    QAbstractButton* pressed = button("Detect&&Save(PeakMode)");
    const QStringList captions = captionsDuringRun(button("PeakMode"), pressed);

    EXPECT_EQ(captions.size(), CTovaneShadingPage::kMaxPolls);
    EXPECT_EQ(captions.last(), QStringLiteral("PeakMode(%1)").arg(CTovaneShadingPage::kMaxPolls - 1));
    EXPECT_EQ(sent(), QByteArrayList{"SHADING-DETECTION 1"} + polls(CTovaneShadingPage::kMaxPolls));
    EXPECT_EQ(button("PeakMode")->text(), QStringLiteral("PeakMode"));
    EXPECT_TRUE(button("PeakMode")->isEnabled());
    EXPECT_TRUE(pressed->isEnabled());
    EXPECT_EQ(findNamed<QLabel>(page.get(), QStringLiteral("Detection progress"))->text(),
              QStringLiteral("%1 within %2 polls; gave up").arg(LongOperation::notFinishedText()).arg(CTovaneShadingPage::kMaxPolls));
    EXPECT_TRUE(messages.texts.isEmpty());
}

TEST_F(TovaneShadingPage, TheSettingsGoOutWithoutWaitingForAnAnswer)
{
    openPage();
    choose(slotList(), 3);
    const qint64 start = clock.nowUs();
    for (const char* control : {"ShadingPatternCheck", "Shading Correction", "Load", "ShadingPatternCheck"})
        button(control)->click();
    EXPECT_EQ(clock.nowUs(), start);
    clock.sleepMs(100);
    ReadAvailable(connection);
    EXPECT_EQ(sent(), (QByteArrayList{"SHADING-PATTERN-CHECK 1", "SHADING-CORRECTION 1", "SHADING-PATTERN-LOAD 3",
                                      "SHADING-PATTERN-CHECK 0"}));
    EXPECT_EQ(reported("SHADING-CORRECTION"), 1);
}

TEST_F(TovaneShadingPage, EveryRefusalIsReportedWithTheCamerasReasonAndARefusedSwitchShowsTheCamerasState)
{
    openPage();
    QStringList refusals;
    QObject::connect(&sendPath, &SendPath::refused, [&](const QByteArray& line, const QString& reason) {
        refusals << QString::fromLatin1(line) + QStringLiteral(" / ") + reason;
    });
    choose(slotList(), 3);
    struct Case {
        const char* control;
        const char* refusedOutright; // null: the camera has its own reason
        const char* reported;
    };
    for (const Case& c : {Case{"Load", nullptr, "SHADING-PATTERN-LOAD 3 / No saved pattern"},
                          Case{"Save", nullptr, "SHADING-PATTERN-SAVE 3 / No detected pattern"},
                          Case{"Shading Correction", "SHADING-CORRECTION", "SHADING-CORRECTION 1 / Refused"},
                          Case{"PeakMode", "SHADING-DETECTION", "SHADING-DETECTION 1 / Refused"}}) {
        refusals.clear();
        if (c.refusedOutright)
            camera->refuseCommand(QString::fromLatin1(c.refusedOutright));
        button(c.control)->click();
        // The next exchange takes in the answers of lines sent without
        // waiting; the refusal is handled once it is over.
        reported("SHADING-PATTERN-CHECK");
        if (c.refusedOutright)
            camera->allowCommand(QString::fromLatin1(c.refusedOutright));
        QCoreApplication::processEvents();
        EXPECT_EQ(refusals, QStringList{QString::fromLatin1(c.reported)}) << c.control;
    }
    // The refused switch was read back.
    EXPECT_EQ(qobject_cast<QCheckBox*>(button("Shading Correction"))->checkState(), Qt::Unchecked);
}

TEST_F(TovaneShadingPage, CaptionsArePaintedAsTheyChange)
{
    openPage();
    page->show();
    QAbstractButton* peak = button("PeakMode");
    QStringList painted;
    class PaintWatch : public QObject {
    public:
        explicit PaintWatch(QStringList& painted) : m_painted(painted) {}
        bool eventFilter(QObject* watched, QEvent* event) override
        {
            if (event->type() == QEvent::Paint)
                m_painted << static_cast<QAbstractButton*>(watched)->text();
            return false;
        }

    private:
        QStringList& m_painted;
    } watch(painted);
    peak->installEventFilter(&watch);
    QCoreApplication::processEvents();
    painted.clear();

    // The application's own runner: Qt's pending events, paints among them.
    const PendingEventsRunner previous = setPendingEventsRunner(nullptr);
    peak->click();
    setPendingEventsRunner(previous);

    for (const char* caption : {"PeakMode(1)", "PeakMode(2)", "PeakMode(3)"})
        EXPECT_TRUE(painted.contains(QString::fromLatin1(caption))) << caption;
    peak->removeEventFilter(&watch);
}

class TovaneShadingRange : public PageTest {};

TEST_F(TovaneShadingRange, AMaximumOfThreeListsZeroToThreeWithZeroSelected)
{
    camera->ranges["SHADING-PATTERN-SAVE"] = " min:0, max:3, step:1";
    const auto page = open<CTovaneShadingPage>();
    QComboBox* list = findNamed<QComboBox>(page.get(), QStringLiteral("PatternSelect"));
    EXPECT_EQ(itemsOf(list), (QStringList{"0", "1", "2", "3"}));
    EXPECT_EQ(list->currentIndex(), 0);

    // A failed range lists slot 0 alone; an absurd one is kept to a list a page can hold.
    camera->refused.insert("HELP");
    const auto failed = open<CTovaneShadingPage>();
    EXPECT_EQ(itemsOf(findNamed<QComboBox>(failed.get(), QStringLiteral("PatternSelect"))), QStringList{"0"});
    camera->refused.clear();
    camera->ranges["SHADING-PATTERN-SAVE"] = " min:0, max:2147483647, step:1";
    const auto absurd = open<CTovaneShadingPage>();
    EXPECT_EQ(findNamed<QComboBox>(absurd.get(), QStringLiteral("PatternSelect"))->count(), NumberedListsBinding::kMaxItems);
}

} // namespace
