// The Brevo "Shading" page against simulated Brevo cameras on virtual time:
// its load, the lists of slots and patterns, detection in both modes to its
// end and to its limit, Detect & Save, the demonstration cycle on its timer,
// and what happens when the page goes away, its tab is left or its panel is
// closed during a detection or the demonstration.

#include "CapturedMessages.h"
#include "DialogUnits.h"
#include "PageTesting.h"
#include "SimPageTest.h"
#include "brevo/BrevoCLShadingPage.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>

namespace {

const QByteArrayList kLoadOrder = {"SHADING-CORRECTION", "SHADING-PATTERN-LOAD", "HELP SHADING-PATTERN-SAVE"};

QByteArrayList polls(int count)
{
    return QByteArrayList(count, "SHADING-DETECTION");
}

class BrevoCLShadingPage : public SimPageTest {
protected:
    BrevoCLShadingPage() { useModel(QStringLiteral("PTM-R290CL")); }

    void openPage()
    {
        page = open<CBrevoCLShadingPage>();
        status = findLabel(page.get(), QStringLiteral("Standby"));
        camera->clearRecord();
    }

    // A finished detection in the camera, as a user might have run it before.
    void givenDetectedPattern()
    {
        given("SHADING-DETECTION 1");
        clock.sleepMs(4000);
        reported("SHADING-DETECTION");
    }

    QAbstractButton* button(const char* text) const { return findButton(page.get(), QString::fromLatin1(text)); }
    QComboBox* slotList() const { return findNamed<QComboBox>(page.get(), QStringLiteral("Save slot")); }
    QComboBox* patterns() const { return findNamed<QComboBox>(page.get(), QStringLiteral("Select pattern")); }
    QLineEdit* intervals() const { return findNamed<QLineEdit>(page.get(), QStringLiteral("Intervals")); }
    PageTimer* demoTimer() const { return page->findChild<PageTimer*>(); }
    QLabel* progress() const { return findNamed<QLabel>(page.get(), QStringLiteral("Detection progress")); }

    std::unique_ptr<Page> page;
    QLabel* status = nullptr;
    CapturedMessages messages;
};

TEST_F(BrevoCLShadingPage, OpeningAndRefreshReadInTheirFixedOrderAndSendNoSetting)
{
    page = open<CBrevoCLShadingPage>();
    EXPECT_EQ(sentSinceLastLook(), kLoadOrder);
    button("Refresh")->click();
    EXPECT_EQ(sent(), kLoadOrder);
}

TEST_F(BrevoCLShadingPage, AMaxOfThreeGivesFourSlotsAndTheLastDetectedPattern)
{
    givenDetectedPattern();
    given("SHADING-PATTERN-SAVE 2");
    given("SHADING-PATTERN-LOAD 2");
    given("SHADING-CORRECTION 1");
    openPage();

    const QStringList fourPatterns = {"Pattern 0", "Pattern 1", "Pattern 2", "Pattern 3"};
    EXPECT_EQ(itemsOf(slotList()), fourPatterns);
    EXPECT_EQ(itemsOf(patterns()), fourPatterns + QStringList{"Last detected 4"});
    EXPECT_EQ(slotList()->currentIndex(), 0);
    EXPECT_EQ(patterns()->currentText(), QStringLiteral("Pattern 2"));
    EXPECT_TRUE(button("Correction")->isChecked());
    EXPECT_TRUE(button("Peak Detection")->isChecked());
    EXPECT_FALSE(button("Average Detection")->isChecked());
    EXPECT_EQ(intervals()->text(), QStringLiteral("3000"));
    EXPECT_EQ(status->text(), QStringLiteral("Standby"));
}

TEST_F(BrevoCLShadingPage, WithoutARangeTheListsHoldPatternZeroAndLastDetectedOne)
{
    camera->refuseCommand("HELP");
    openPage();
    EXPECT_EQ(itemsOf(slotList()), QStringList{"Pattern 0"});
    EXPECT_EQ(itemsOf(patterns()), (QStringList{"Pattern 0", "Last detected 1"}));
}

TEST_F(BrevoCLShadingPage, ItsControlsKeepToItsOwnSmallerSizeInTheTopLeftCornerOfTheTab)
{
    openPage();
    const DialogUnits& du = DialogUnits::standard();
    page->resize(du.toPixels(520, 256)); // the tab area, as large as the other pages
    page->show();
    const QRect own(QPoint(0, 0), du.toPixels(384, 198));
    for (QWidget* control : page->findChildren<QWidget*>()) {
        if (!control->isVisible() || control->isWindow() || !(control->focusPolicy() & Qt::TabFocus))
            continue;
        const QRect placed(control->mapTo(page.get(), QPoint(0, 0)), control->size());
        EXPECT_TRUE(own.contains(placed)) << control->accessibleName().toStdString();
        EXPECT_GE(control->width(), control->minimumSizeHint().width()) << control->accessibleName().toStdString();
    }
}

TEST_F(BrevoCLShadingPage, SaveSelectAndCorrectionSendTheirLinesAndWaitForSlowAnswers)
{
    givenDetectedPattern();
    openPage();
    choose(slotList(), 3);
    bool saveDisabledMeanwhile = false;
    camera->setLineObserver([&](qint64, const QByteArray& line) {
        if (line.startsWith("SHADING-PATTERN-SAVE"))
            saveDisabledMeanwhile = !button("Save")->isEnabled();
    });
    // Storing takes the camera seconds; the page waits for the answer.
    const qint64 start = clock.nowUs();
    button("Save")->click();
    EXPECT_GE(clock.nowUs() - start, 1500000);
    EXPECT_TRUE(saveDisabledMeanwhile);
    EXPECT_TRUE(button("Save")->isEnabled());
    EXPECT_EQ(camera->savedShadingPattern(3), 1);

    choose(patterns(), 4); // "Last detected 4"
    button("Select")->click();
    button("Correction")->click();
    EXPECT_FALSE(button("Detection")->isEnabled());
    button("Correction")->click();
    EXPECT_TRUE(button("Detection")->isEnabled());
    EXPECT_EQ(sent(), (QByteArrayList{"SHADING-PATTERN-SAVE 3", "SHADING-PATTERN-LOAD 4", "SHADING-CORRECTION 1",
                                      "SHADING-CORRECTION 0"}));
    EXPECT_EQ(reported("SHADING-PATTERN-LOAD"), 4);
}

TEST_F(BrevoCLShadingPage, SelectWithNoPatternSelectedSendsNothing)
{
    openPage();
    patterns()->setCurrentIndex(-1);
    button("Select")->click();
    EXPECT_TRUE(sent().isEmpty());
}

struct DetectionCase {
    const char* model;
    const char* modeButton;
    QByteArrayList lines; // after the correction read
    QStringList messages;
    bool averageStaysAvailable;
    bool runs = true; // false: the camera refused to start it
};

void PrintTo(const DetectionCase& c, std::ostream* out)
{
    *out << c.model << ' ' << c.modeButton;
}

class BrevoDetection : public BrevoCLShadingPage, public ::testing::WithParamInterface<DetectionCase> {};

TEST_P(BrevoDetection, RunsToTheCamerasEndPollingEveryTwoSecondsWithTheWindowRepainting)
{
    const DetectionCase& c = GetParam();
    useModel(QString::fromLatin1(c.model));
    openPage();
    EventsDuringPauses events;
    bool disabledMeanwhile = false;
    events.onRun = [&] { disabledMeanwhile = disabledMeanwhile || !button("Detection")->isEnabled(); };
    const qint64 start = clock.nowUs();

    button(c.modeButton)->click();
    button("Detection")->click();

    EXPECT_EQ(sent(), QByteArrayList{"SHADING-CORRECTION"} + c.lines);
    EXPECT_EQ(messages.texts, c.messages);
    EXPECT_EQ(disabledMeanwhile, c.runs);
    EXPECT_TRUE(button("Detection")->isEnabled());
    EXPECT_EQ(button("Average Detection")->isEnabled(), c.averageStaysAvailable);
    EXPECT_EQ(button("Average Detection")->isChecked(), c.averageStaysAvailable && c.modeButton == QByteArray("Average Detection"));
    EXPECT_EQ(status->text(), QStringLiteral("Standby"));
    // The window ran its events all through the pauses.
    EXPECT_GE(events.runs, (clock.nowUs() - start) / 1000 / LongOperation::kSliceMs - 1);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, BrevoDetection,
    ::testing::Values(
        // Peak detection takes the camera 3.5 s: busy at the first poll, done at the second.
        DetectionCase{"PTM-R290CL", "Peak Detection", QByteArrayList{"SHADING-DETECTION 1"} + polls(2), {}, true},
        // Average detection (5.5 s) is confirmed 100 ms after its start.
        DetectionCase{"PTM-R290CL", "Average Detection", QByteArrayList{"SHADING-DETECTION 2"} + polls(1 + 3), {}, true},
        // The mono camera lacks it and refuses it: the page says so and
        // nothing runs.
        DetectionCase{"PTM-R140ML", "Average Detection", QByteArrayList{"SHADING-DETECTION 2", "GET-LAST-ERROR"},
                      {"Command not supported!"}, false, false}),
    [](const auto& info) { return std::to_string(info.index); });

TEST_F(BrevoCLShadingPage, TheFirstPollComesTwoSecondsAfterTheModeCheck)
{
    openPage();
    button("Average Detection")->click();
    button("Detection")->click();
    const auto& lines = camera->record().lines;
    ASSERT_GE(lines.size(), 4u);
    EXPECT_GE(lines[2].atUs - lines[1].atUs, 100000);
    EXPECT_LT(lines[2].atUs - lines[1].atUs, 200000);
    EXPECT_GE(lines[3].atUs - lines[2].atUs, 2000000);
    EXPECT_LT(lines[3].atUs - lines[2].atUs, 2100000);
}

TEST_F(BrevoCLShadingPage, CorrectionOnRefusesEitherDetectionWithItsMessageAndSendsNothing)
{
    given("SHADING-CORRECTION 1");
    openPage();
    for (const char* start : {"Detection", "Detect && Save"}) {
        button(start)->click();
        EXPECT_EQ(sentSinceLastLook(), QByteArrayList{"SHADING-CORRECTION"}) << start;
        EXPECT_TRUE(button(start)->isEnabled());
    }
    EXPECT_EQ(messages.texts, QStringList(2, "Turn off the shading correction, and try again!"));
}

TEST_F(BrevoCLShadingPage, ADetectionThatNeverEndsGivesUpAfterItsLimitAndSaysSoOnce)
{
    camera->setDetectionsNeverFinish(true);
    openPage();
    const qint64 start = clock.nowUs();
    button("Detect && Save")->click();

    // Correction read twice (Detect & Save, then the detection), the start,
    // the limit's polls, and no Save of a pattern that was never finished.
    EXPECT_EQ(sent(), QByteArrayList({"SHADING-CORRECTION", "SHADING-CORRECTION", "SHADING-DETECTION 1"})
                          + polls(CBrevoCLShadingPage::kMaxPolls));
    EXPECT_GE(clock.nowUs() - start, qint64(CBrevoCLShadingPage::kMaxPolls) * 2000000);
    EXPECT_EQ(progress()->text(),
              QStringLiteral("%1 within %2 polls; gave up").arg(LongOperation::notFinishedText()).arg(CBrevoCLShadingPage::kMaxPolls));
    EXPECT_TRUE(messages.texts.isEmpty());
    EXPECT_TRUE(button("Detection")->isEnabled());
    EXPECT_TRUE(button("Detect && Save")->isEnabled());

    // The next detection says how it ended instead.
    camera->setDetectionsNeverFinish(false);
    given("SHADING-DETECTION 0");
    button("Detection")->click();
    EXPECT_EQ(progress()->text(), QStringLiteral("Detection finished after 2 of %1 polls").arg(CBrevoCLShadingPage::kMaxPolls));
}

TEST_F(BrevoCLShadingPage, DetectAndSaveStoresTheFinishedPatternInTheSelectedSlotAlsoWhenItsTabIsLeft)
{
    openPage();
    QWidget panel;
    page->setParent(&panel);
    panel.show();
    choose(slotList(), 2);
    EventsDuringPauses events;
    bool disabledMeanwhile = false;
    events.onRun = [&] {
        disabledMeanwhile = disabledMeanwhile || !button("Detect && Save")->isEnabled();
        if (sent().size() == 4) // the correction twice, the start, one poll
            page->hide();       // another tab chosen
    };

    button("Detect && Save")->click();

    EXPECT_EQ(sent(), QByteArrayList({"SHADING-CORRECTION", "SHADING-CORRECTION", "SHADING-DETECTION 1"}) + polls(2)
                          + QByteArrayList{"SHADING-PATTERN-SAVE 2"});
    EXPECT_TRUE(disabledMeanwhile);
    EXPECT_TRUE(button("Detect && Save")->isEnabled());
    EXPECT_EQ(camera->savedShadingPattern(2), 1);
    page->setParent(nullptr);
}

TEST_F(BrevoCLShadingPage, ClosingThePagesWindowEndsTheDetectionAtItsNextPollWithoutSaving)
{
    openPage();
    page->show();
    EventsDuringPauses events;
    events.onRun = [&] {
        if (sent().size() == 4) // the correction twice, the start, one poll
            page->hide();
    };
    button("Detect && Save")->click();

    EXPECT_EQ(sent(), QByteArrayList({"SHADING-CORRECTION", "SHADING-CORRECTION", "SHADING-DETECTION 1"}) + polls(1));
    EXPECT_TRUE(button("Detection")->isEnabled());
    EXPECT_TRUE(button("Detect && Save")->isEnabled());
    EXPECT_EQ(status->text(), QStringLiteral("Standby"));
}

TEST_F(BrevoCLShadingPage, DestroyingThePageDuringADetectionEndsItAtOnce)
{
    openPage();
    EventsDuringPauses events;
    events.onRun = [&] {
        if (sent().size() == 4)
            page.reset();
    };
    findButton(page.get(), QStringLiteral("Detect && Save"))->click();
    EXPECT_EQ(page, nullptr);
    EXPECT_EQ(sent(), QByteArrayList({"SHADING-CORRECTION", "SHADING-CORRECTION", "SHADING-DETECTION 1"}) + polls(1));
}

TEST_F(BrevoCLShadingPage, TheDemonstrationCyclesThroughItsSixStepsOnItsTimer)
{
    givenDetectedPattern();
    for (const char* save : {"SHADING-PATTERN-SAVE 1", "SHADING-PATTERN-SAVE 2"}) // storing takes seconds
        ASSERT_TRUE(Transact(connection, save, BrevoShadingSettings::kTimeoutSeconds)) << save;
    openPage();
    QAbstractButton* demo = button("Demo Start");
    demo->click();
    EXPECT_EQ(sentSinceLastLook(), QByteArrayList{"SHADING-CORRECTION 0"});
    EXPECT_EQ(status->text(), QStringLiteral("Shading Correction OFF"));
    EXPECT_EQ(demo->text(), QStringLiteral("Demo Stop"));
    ASSERT_NE(demoTimer(), nullptr);
    EXPECT_TRUE(demoTimer()->isActive());
    EXPECT_EQ(demoTimer()->intervalMs(), 3000);

    struct Tick {
        QByteArrayList lines;
        const char* status;
    };
    const QList<Tick> cycle = {
        {{"SHADING-PATTERN-LOAD 0", "SHADING-CORRECTION 1"}, "Shading Correction ON (Pattern 0)"},
        {{"SHADING-CORRECTION 0"}, "Shading Correction OFF"},
        {{"SHADING-PATTERN-LOAD 1", "SHADING-CORRECTION 1"}, "Shading Correction ON (Pattern 1)"},
        {{"SHADING-CORRECTION 0"}, "Shading Correction OFF"},
        {{"SHADING-PATTERN-LOAD 2", "SHADING-CORRECTION 1"}, "Shading Correction ON (Pattern 2)"},
        {{"SHADING-CORRECTION 0"}, "Shading Correction OFF"},
        {{"SHADING-PATTERN-LOAD 0", "SHADING-CORRECTION 1"}, "Shading Correction ON (Pattern 0)"},
    };
    for (const Tick& tick : cycle) {
        demoTimer()->tick();
        EXPECT_EQ(sentSinceLastLook(), tick.lines) << tick.status;
        EXPECT_EQ(status->text(), QString::fromLatin1(tick.status));
    }
    // The box and the list follow the camera; stopping leaves the camera as
    // the last tick set it.
    EXPECT_TRUE(button("Correction")->isChecked());
    EXPECT_EQ(patterns()->currentText(), QStringLiteral("Pattern 0"));
    demo->click();
    EXPECT_TRUE(sent().isEmpty());
    EXPECT_FALSE(demoTimer()->isActive());
    EXPECT_EQ(demo->text(), QStringLiteral("Demo Start"));
    EXPECT_EQ(status->text(), QStringLiteral("Standby"));
    EXPECT_EQ(reported("SHADING-CORRECTION"), 1);
}

TEST_F(BrevoCLShadingPage, AnIntervalThatIsNotAPositiveNumberStartsNothing)
{
    openPage();
    for (const char* typed : {"", "abc", "0", "-3000", "3000ms", "99999999999"}) {
        intervals()->setText(QString::fromLatin1(typed));
        button("Demo Start")->click();
        EXPECT_TRUE(sentSinceLastLook().isEmpty()) << typed;
        EXPECT_FALSE(demoTimer()->isActive()) << typed;
        EXPECT_EQ(intervals()->text(), QString::fromLatin1(typed));
        EXPECT_EQ(button("Demo Start")->text(), QStringLiteral("Demo Start"));
    }
}

TEST_F(BrevoCLShadingPage, TheDemonstrationGoesOnWhileAnotherTabIsShownAndStopsWithThePanel)
{
    openPage();
    QWidget panel;
    page->setParent(&panel);
    panel.show();
    button("Demo Start")->click();
    page->hide(); // another tab chosen
    EXPECT_TRUE(demoTimer()->isActive());
    page->show();
    panel.hide();
    EXPECT_FALSE(demoTimer()->isActive());
    EXPECT_EQ(button("Demo Start")->text(), QStringLiteral("Demo Start"));
    EXPECT_EQ(status->text(), QStringLiteral("Standby"));
    panel.show();
    EXPECT_FALSE(demoTimer()->isActive());
    page->setParent(nullptr);
}

TEST_F(BrevoCLShadingPage, ADemonstrationTickDuringADetectionWaitsItsTurn)
{
    openPage();
    button("Demo Start")->click();
    camera->clearRecord();
    EventsDuringPauses events;
    events.onRun = [&] { demoTimer()->tick(); };
    button("Detection")->click();
    EXPECT_EQ(sent(), QByteArrayList({"SHADING-CORRECTION", "SHADING-DETECTION 1"}) + polls(2));
    demoTimer()->tick();
    EXPECT_EQ(sent().mid(4), (QByteArrayList{"SHADING-PATTERN-LOAD 0", "SHADING-CORRECTION 1"}));
}

// A pattern the camera has not stored is refused, from "Select" and from
// the demonstration alike: the list shows the camera's pattern again, the
// refusal is reported with its reason, and the demonstration does not switch
// the correction on for the wrong pattern.
struct PatternRefusal {
    const char* name;
    bool fromDemonstration;
    QByteArrayList lines;
    const char* status;
};

class BrevoPatternRefusal : public BrevoCLShadingPage, public ::testing::WithParamInterface<PatternRefusal> {};

TEST_P(BrevoPatternRefusal, ShowsTheCamerasPatternAndSaysWhy)
{
    openPage();
    QStringList refusals;
    QObject::connect(&sendPath, &SendPath::refused, [&](const QByteArray& line, const QString& reason) {
        refusals << QString::fromLatin1(line) + ": " + reason;
    });

    if (GetParam().fromDemonstration) {
        button("Demo Start")->click();
        for (int tick = 0; tick < 3; ++tick) // pattern 0 on, off, pattern 1
            demoTimer()->tick();
    } else {
        choose(patterns(), 1);
        button("Select")->click();
    }

    EXPECT_EQ(sentSinceLastLook(), GetParam().lines);
    EXPECT_EQ(refusals, QStringList{"SHADING-PATTERN-LOAD 1: No saved pattern"});
    EXPECT_EQ(patterns()->currentText(), QStringLiteral("Pattern 0"));
    EXPECT_EQ(status->text(), QString::fromLatin1(GetParam().status));
    EXPECT_TRUE(button("Select")->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(
    From, BrevoPatternRefusal,
    ::testing::Values(PatternRefusal{"Select", false,
                                     {"SHADING-PATTERN-LOAD 1", "GET-LAST-ERROR", "SHADING-PATTERN-LOAD"}, "Standby"},
                      PatternRefusal{"Demonstration", true,
                                     {"SHADING-CORRECTION 0", "SHADING-PATTERN-LOAD 0", "SHADING-CORRECTION 1",
                                      "SHADING-CORRECTION 0", "SHADING-PATTERN-LOAD 1", "GET-LAST-ERROR",
                                      "SHADING-PATTERN-LOAD"},
                                     "Shading Correction OFF"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(BrevoCLShadingPage, AUserActionDuringADetectionGoesOutBetweenTwoPolls)
{
    openPage();
    EventsDuringPauses events;
    events.onRun = [&] {
        if (sent().size() == 3) // the correction, the start, one poll
            button("Select")->click();
    };
    button("Detection")->click();
    EXPECT_EQ(sent(), QByteArrayList({"SHADING-CORRECTION", "SHADING-DETECTION 1", "SHADING-DETECTION",
                                      "SHADING-PATTERN-LOAD 0", "SHADING-DETECTION"}));
}

} // namespace
