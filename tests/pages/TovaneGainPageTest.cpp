// The Tovane "Gain" page against the simulated PTM-TW640 and PTM-TW640M: what
// it reads and shows, what each control sends, the software-trigger pulse on
// the connection's clock. Ranges and lists no simulated camera gives come from
// a scripted camera at the end.

#include "LongOperation.h"
#include "PageTesting.h"
#include "SimPageTest.h"
#include "tovane/TovaneGainPage.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QPushButton>

namespace {

const QByteArrayList kFilterReads = {"SP-FL-VAL 00", "SP-FL-VAL 01", "SP-FL-VAL 02", "SP-FL-VAL 10", "SP-FL-VAL 11",
                                     "SP-FL-VAL 12", "SP-FL-VAL 20", "SP-FL-VAL 21", "SP-FL-VAL 22"};

// Everything the page reads, in its order, up to the filter's presence.
const QByteArrayList kLoadBeforeFilter = {
    "HELP GAIN-FINE", "HELP BLACKLEVEL", "AE-SPEED", "AGC-SPEED", "TRG-DLY", "EXP-MODE", "AE", "AGC", "EXP", "GAIN",
    "GAIN-FINE", "BLACKLEVEL", "AGC-LEVEL", "TRG-MODE", "TRG-POL", "TRG-INH", "TRIGGER-RANGE",
    "TRIGGER-RANGE-LOWERLIMIT", "AGC-UPPER", "AGC-LOWER", "AE-UPPER", "AE-LOWER", "HELP TRG-SRC", "TRG-SRC",
    "SP-TRG-MODE ", "HELP SP-TRG-SRC ", "SP-TRG-SRC ", "SP-TRG-F-CNT ", "SP-TRG-POL ", "AGC-WIDTH", "AGC-HEIGHT",
    "AGC-OFFSETX", "AGC-OFFSETY", "SP-FL "};

// Read after the fixed order, which never reads it.
const QByteArrayList kReadAfterLoad = {"AGC-FRAME-HIGHLIGHT"};

const QByteArrayList kLoadOrder = kLoadBeforeFilter + kFilterReads + kReadAfterLoad;

// The presets as the user sees them and what each one sends.
const QList<std::pair<const char*, int>> kPresets = {
    {"1/1000000", 1},        {" 1/500000", 2},        {" 1/125000", 4},        {"  1/60000", 8},
    {"  1/30000", 15},       {"  1/15000", 61},       {"   1/8000", 122},      {"   1/4000", 244},
    {"   1/2000", 488},      {"   1/1000", 977},      {"    1/500", 1953},     {"    1/250", 3906},
    {"    1/125", 7813},     {"     1/60", 15625},    {"     1/30", 31250},    {"     1/15", 62500},
    {"      1/8", 125000},   {"      1/4", 250000},   {"      1/2", 500000},   {"        1s", 1000000},
    {"        2s", 2000000}, {"        4s", 4000000}, {"        8s", 8000000}, {"       15s", 15000000},
    {"       30s", 30000000}, {"       60s", 60000000}, {"", 0}};

struct Controls {
    QWidget* page;
    QLineEdit* edit(const char* name) const { return findNamed<QLineEdit>(page, QString::fromLatin1(name)); }
    QComboBox* list(const char* name) const { return findNamed<QComboBox>(page, QString::fromLatin1(name)); }
    QSlider* slider(const char* name) const { return findNamed<QSlider>(page, QString::fromLatin1(name) + QStringLiteral(" slider")); }
    QAbstractButton* button(const char* text) const { return findButton(page, QString::fromLatin1(text)); }
};

QStringList itemTexts(const QComboBox* combo)
{
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i)
        texts << combo->itemText(i);
    return texts;
}

// Lets a test act as the user while the page waits with events running.
class EventsDuringPauses {
public:
    explicit EventsDuringPauses(std::function<void()> onRun)
        : m_previous(setPendingEventsRunner([this, onRun = std::move(onRun)] {
              ++runs;
              onRun();
          }))
    {
    }
    ~EventsDuringPauses() { setPendingEventsRunner(m_previous); }
    int runs = 0;

private:
    PendingEventsRunner m_previous;
};

class TovaneGainPage : public SimPageTest {
protected:
    TovaneGainPage() { useModel(QStringLiteral("PTM-TW640")); }

    void openPage()
    {
        page = open<CTovaneGainPage>();
        ui.page = page.get();
        camera->clearRecord();
    }


    std::unique_ptr<Page> page;
    Controls ui{nullptr};
};

TEST_F(TovaneGainPage, OpeningReadsEveryValueInItsFixedOrderAndSendsNoSetting)
{
    page = open<CTovaneGainPage>();
    EXPECT_EQ(sent(), kLoadOrder);
    EXPECT_EQ(kLoadOrder.size(), 44);
}

TEST_F(TovaneGainPage, RefreshReadsEverythingAgain)
{
    openPage();
    ui.button("Refresh")->click();
    EXPECT_EQ(sent(), kLoadOrder);
}

TEST_F(TovaneGainPage, ShowsWhatTheCameraReports)
{
    for (const char* line :
         {"GAIN-FINE 123", "BLACKLEVEL 40", "EXP 977", "EXP-MODE 1", "AGC-LEVEL 90", "TRG-INH 1", "TRG-DLY 250",
          "TRIGGER-RANGE-LOWERLIMIT 500", "AGC-LOWER -3", "AE-UPPER 40000", "TRG-SRC 4", "SP-TRG-MODE  2",
          "SP-TRG-SRC  1", "SP-TRG-F-CNT  10", "SP-TRG-POL  1", "SP-FL  1", "SP-FL-VAL 12 -5", "AGC-WIDTH 64"})
        given(line);
    openPage();

    EXPECT_EQ(ui.slider("Gain")->minimum(), -60);
    EXPECT_EQ(ui.slider("Gain")->maximum(), 240);
    EXPECT_EQ(ui.slider("Gain")->value(), 123);
    EXPECT_EQ(ui.edit("Step")->text(), QStringLiteral("123"));
    EXPECT_EQ(ui.edit("Gain")->text(), QStringLiteral("12")); // whole decibels from GAIN
    EXPECT_EQ(ui.slider("BlackLevel")->maximum(), 255);
    EXPECT_EQ(ui.slider("BlackLevel")->value(), 40);
    EXPECT_EQ(ui.edit("BlackLevel")->text(), QStringLiteral("40"));
    EXPECT_EQ(ui.edit("ExposureTime")->text(), QStringLiteral("977"));
    EXPECT_EQ(ui.list("Exposure preset")->currentIndex(), -1);
    EXPECT_EQ(ui.list("ExposureMode")->currentText(), QStringLiteral(" Width"));
    EXPECT_EQ(ui.list("ExposureAutoMode")->currentText(), QStringLiteral("0:Off"));
    EXPECT_EQ(ui.edit("GainAutoLevel(AE-TARGET)")->text(), QStringLiteral("90"));
    EXPECT_EQ(ui.edit("GainAuto Lower")->text(), QStringLiteral("-3"));
    EXPECT_EQ(ui.edit("ExposureAuto upper")->text(), QStringLiteral("40000"));
    EXPECT_EQ(ui.edit("Area Width")->text(), QStringLiteral("64"));
    EXPECT_EQ(ui.edit("Area OffsetY")->text(), QStringLiteral("120"));
    EXPECT_EQ(ui.edit("AE Speed")->text(), QStringLiteral("128"));
    EXPECT_TRUE(ui.button("Trigger Inhibit")->isChecked());
    EXPECT_FALSE(ui.button("TriggerMode")->isChecked());
    EXPECT_EQ(ui.edit("Trigger Delay")->text(), QStringLiteral("250"));
    EXPECT_EQ(ui.edit("TriggerRange Lower")->text(), QStringLiteral("500"));
    EXPECT_EQ(ui.edit("FireSoftTrigger width")->text(), QStringLiteral("100"));
    // The camera's own choices replace the trigger-source lists.
    const QStringList sources = {" 0(11P)", " 1(7P)", " 2(10P)", " 4(Software)"};
    EXPECT_EQ(itemTexts(ui.list("Trigger Source")), sources);
    EXPECT_EQ(itemTexts(ui.list("TriggerSource")), sources);
    EXPECT_EQ(ui.list("Trigger Source")->currentText(), QStringLiteral(" 4(Software)"));
    EXPECT_EQ(ui.list("TriggerSource")->currentText(), QStringLiteral(" 1(7P)"));
    EXPECT_EQ(ui.list("Special Trigger")->currentText(), QStringLiteral("2:Sequential"));
    EXPECT_EQ(ui.edit("NumberOfFrame")->text(), QStringLiteral("10"));
    EXPECT_TRUE(ui.button("Polarity")->isChecked());
    EXPECT_TRUE(ui.button("Enable")->isEnabled());
    EXPECT_TRUE(ui.button("Enable")->isChecked());
    EXPECT_EQ(ui.edit("Coefficient 11")->text(), QStringLiteral("256"));
    EXPECT_EQ(ui.edit("Coefficient 12")->text(), QStringLiteral("-5"));
    EXPECT_TRUE(ui.edit("Coefficient 22")->isEnabled());
}

TEST_F(TovaneGainPage, ThePresetListHoldsTheShutterSpeedsAndEachSendsItsMicroseconds)
{
    openPage();
    QComboBox* presets = ui.list("Exposure preset");
    ASSERT_EQ(presets->count(), kPresets.size());
    for (int i = 0; i < presets->count(); ++i) {
        const auto& [label, microseconds] = kPresets.at(i);
        EXPECT_EQ(presets->itemText(i), QString::fromLatin1(label)) << i;
        choose(presets, i);
        // The camera refuses 0: its reason is asked for and the list shows
        // the preset of the time it kept.
        const QByteArrayList readBack = microseconds == 0 ? QByteArrayList{"GET-LAST-ERROR", "EXP", "EXP"}
                                                          : QByteArrayList{"EXP"};
        EXPECT_EQ(sentSinceLastLook(), QByteArrayList{"EXP " + QByteArray::number(microseconds)} + readBack) << label;
    }
}

TEST_F(TovaneGainPage, APresetShowsTheExposureTheCameraThenReports)
{
    openPage();
    choose(ui.list("Exposure preset"), QStringLiteral("   1/1000"));
    EXPECT_EQ(ui.edit("ExposureTime")->text(), QStringLiteral("977"));

    // The empty last entry sends 0, which the camera refuses: it keeps 977,
    // and the list goes back to the preset of 977.
    choose(ui.list("Exposure preset"), 26);
    EXPECT_EQ(sentSinceLastLook(), (QByteArrayList{"EXP 977", "EXP", "EXP 0", "GET-LAST-ERROR", "EXP", "EXP"}));
    EXPECT_EQ(ui.edit("ExposureTime")->text(), QStringLiteral("977"));
    EXPECT_EQ(ui.list("Exposure preset")->currentText(), QStringLiteral("   1/1000"));
}

TEST_F(TovaneGainPage, MovingTheGainSliderSendsWithoutWaitingAndShowsTenthsOfADecibel)
{
    openPage();
    const qint64 start = clock.nowUs();
    drag(ui.slider("Gain"), {100, 123});
    EXPECT_EQ(clock.nowUs(), start);
    EXPECT_EQ(ui.edit("Step")->text(), QStringLiteral("123"));
    EXPECT_EQ(ui.edit("Gain")->text(), QStringLiteral("12.30"));

    // Every notification sends, the end of the drag once more; a key sends on
    // press and again when released.
    pressKey(ui.slider("Gain"), Qt::Key_Left);
    EXPECT_EQ(ui.edit("Gain")->text(), QStringLiteral("12.20"));
    settle();
    EXPECT_EQ(sent(), (QByteArrayList{"GAIN-FINE 100", "GAIN-FINE 123", "GAIN-FINE 123", "GAIN-FINE 122",
                                      "GAIN-FINE 122"}));
    EXPECT_EQ(reported("GAIN"), 12);
}

TEST_F(TovaneGainPage, ALongDragReachesTheCameraWholeAndInOrder)
{
    openPage();
    QSlider* gain = ui.slider("Gain");
    QByteArrayList expected;
    gain->setSliderDown(true);
    for (int position = -60; position <= 240; position += 3) {
        gain->setSliderPosition(position);
        expected << "GAIN-FINE " + QByteArray::number(position);
    }
    gain->setSliderDown(false);
    expected << "GAIN-FINE 240";
    settle();
    EXPECT_EQ(sent(), expected);
    EXPECT_EQ(reported("GAIN-FINE"), 240);
    EXPECT_EQ(ui.edit("Gain")->text(), QStringLiteral("24.00"));
}

TEST_F(TovaneGainPage, TheBlackLevelSliderStreamsAndItsEditMovesTheSliderOnceAccepted)
{
    openPage();
    drag(ui.slider("BlackLevel"), {30, 31});
    EXPECT_EQ(ui.edit("BlackLevel")->text(), QStringLiteral("31"));
    settle();
    EXPECT_EQ(sentSinceLastLook(), (QByteArrayList{"BLACKLEVEL 30", "BLACKLEVEL 31", "BLACKLEVEL 31"}));

    typeAndEnter(ui.edit("BlackLevel"), QStringLiteral("80"));
    EXPECT_EQ(sent(), QByteArrayList{"BLACKLEVEL 80"});
    EXPECT_EQ(ui.slider("BlackLevel")->value(), 80);
}

TEST_F(TovaneGainPage, StepAndGainEditsSendAndReadTheOtherUnitBack)
{
    openPage();
    typeAndEnter(ui.edit("Step"), QStringLiteral("57"));
    EXPECT_EQ(sentSinceLastLook(), (QByteArrayList{"GAIN-FINE 57", "GAIN"}));
    EXPECT_EQ(ui.slider("Gain")->value(), 57);
    EXPECT_EQ(ui.edit("Gain")->text(), QStringLiteral("5"));

    // The slider's read-out shows tenths, which GAIN cannot take.
    typeAndEnter(ui.edit("Gain"), QStringLiteral("12.30"));
    EXPECT_EQ(sentSinceLastLook(), QByteArrayList());
    typeAndEnter(ui.edit("Gain"), QStringLiteral("12"));
    EXPECT_EQ(sent(), (QByteArrayList{"GAIN 12", "GAIN-FINE"}));
    EXPECT_EQ(ui.edit("Step")->text(), QStringLiteral("120"));
    EXPECT_EQ(ui.slider("Gain")->value(), 120);
}

TEST_F(TovaneGainPage, MinimumGainMovesTheSliderFirstThenSendsItsLowerEnd)
{
    openPage();
    int sliderWhenSent = 0;
    camera->setLineObserver([&](qint64, const QByteArray& line) {
        if (line.startsWith("GAIN-FINE "))
            sliderWhenSent = ui.slider("Gain")->value();
    });
    ui.button("MinimumGain")->click();
    EXPECT_EQ(sent(), (QByteArrayList{"GAIN-FINE -60", "GAIN"}));
    EXPECT_EQ(sliderWhenSent, -60);
    EXPECT_EQ(ui.edit("Step")->text(), QStringLiteral("-60"));
    EXPECT_EQ(ui.edit("Gain")->text(), QStringLiteral("-6"));
}

TEST_F(TovaneGainPage, GainLowerMinAlsoSetsTheAutomaticGainsLowerLimitInWholeDecibels)
{
    openPage();
    QString lowerWhenSent;
    camera->setLineObserver([&](qint64, const QByteArray& line) {
        if (line.startsWith("AGC-LOWER"))
            lowerWhenSent = ui.edit("GainAuto Lower")->text();
    });
    ui.button("GainLowerMin")->click();
    EXPECT_EQ(sent(), (QByteArrayList{"GAIN-FINE -60", "GAIN", "AGC-LOWER -6"}));
    EXPECT_EQ(lowerWhenSent, QStringLiteral("-6"));
    EXPECT_EQ(reported("AGC-LOWER"), -6);
}

// A camera that holds GAIN-FINE 2 and refuses the lower end: both buttons
// leave the camera's step shown and name the refused line.
TEST_F(TovaneGainPage, ARefusedLowerEndLeavesTheCamerasStepShownAndSaysSo)
{
    for (const char* button : {"MinimumGain", "GainLowerMin"}) {
        given("GAIN-FINE 2");
        openPage();
        camera->refuseChangesOf(QStringLiteral("GAIN-FINE"));
        QByteArrayList refused;
        const QMetaObject::Connection watch = QObject::connect(
            &sendPath, &SendPath::refused, [&](const QByteArray& line, const QString&) { refused << line.trimmed(); });
        ui.button(button)->click();
        QObject::disconnect(watch);
        camera->allowCommand(QStringLiteral("GAIN-FINE"));
        EXPECT_EQ(ui.edit("Step")->text(), QStringLiteral("2")) << button;
        EXPECT_EQ(ui.slider("Gain")->value(), 2) << button;
        EXPECT_EQ(refused.value(0), "GAIN-FINE -60") << button;
    }
}

TEST_F(TovaneGainPage, EnterInEachAutoEditSendsItsOwnCommand)
{
    openPage();
    const QList<std::pair<const char*, QByteArray>> edits = {
        {"ExposureAuto Lower", "AE-LOWER"}, {"ExposureAuto upper", "AE-UPPER"}, {"GainAuto Lower", "AGC-LOWER"},
        {"GainAuto upper", "AGC-UPPER"},    {"GainAutoLevel(AE-TARGET)", "AGC-LEVEL"},
        {"Area Width", "AGC-WIDTH"},        {"Area Height", "AGC-HEIGHT"},
        {"Area OffsetX", "AGC-OFFSETX"},    {"Area OffsetY", "AGC-OFFSETY"},
        {"AE Speed", "AE-SPEED"},           {"AGC Speed", "AGC-SPEED"},
        {"ExposureTime", "EXP"},            {"Trigger Delay", "TRG-DLY"},
        {"TriggerRange Lower", "TRIGGER-RANGE-LOWERLIMIT"}};
    int value = 17;
    for (const auto& [name, word] : edits) {
        typeAndEnter(ui.edit(name), QString::number(++value));
        EXPECT_EQ(sentSinceLastLook(), QByteArrayList{word + ' ' + QByteArray::number(value)}) << name;
    }
    typeAndEnter(ui.edit("GainAuto Lower"), QStringLiteral("-4"));
    EXPECT_EQ(sent(), QByteArrayList{"AGC-LOWER -4"});
}

TEST_F(TovaneGainPage, AutoModesAreSentAndTheGainModeDoesNotWait)
{
    openPage();
    choose(ui.list("ExposureAutoMode"), QStringLiteral("1:Once"));
    EXPECT_EQ(sentSinceLastLook(), QByteArrayList{"AE 1"});

    const qint64 start = clock.nowUs();
    choose(ui.list("GainAutoMode"), QStringLiteral("2:Continuous"));
    EXPECT_EQ(clock.nowUs(), start);
    settle();
    EXPECT_EQ(sent(), QByteArrayList{"AGC 2"});
}

TEST_F(TovaneGainPage, TriggerControlsSendTheirStates)
{
    openPage();
    ui.button("TriggerMode")->click();
    choose(ui.list("Trigger Source"), QStringLiteral(" 4(Software)"));
    choose(ui.list("ExposureMode"), QStringLiteral(" Width"));
    ui.button("Trigger Polarity")->click();
    ui.button("TriggerRange")->click();
    ui.button("AE/AGC Detect Area HighLight")->click();
    EXPECT_EQ(sentSinceLastLook(), (QByteArrayList{"TRG-MODE 1", "TRG-SRC 4", "EXP-MODE 1", "TRG-POL 1",
                                                   "TRIGGER-RANGE 1", "AGC-FRAME-HIGHLIGHT 1"}));
    EXPECT_EQ(reported("TRG-SRC"), 4);
}

TEST_F(TovaneGainPage, TriggerInhibitCarriesItsOwnCarriageReturn)
{
    openPage();
    ui.button("Trigger Inhibit")->click();
    ui.button("Trigger Inhibit")->click();
    settle();
    EXPECT_EQ(sent(), (QByteArrayList{"TRG-INH 1", "", "TRG-INH 0", ""}));
    EXPECT_EQ(reported("TRG-INH"), 0);
}

TEST_F(TovaneGainPage, SpecialTriggerAndFilterLinesCarryTwoBlanksBeforeTheValue)
{
    openPage();
    choose(ui.list("Special Trigger"), QStringLiteral("1:Bulk"));
    choose(ui.list("TriggerSource"), QStringLiteral(" 2(10P)"));
    typeAndEnter(ui.edit("NumberOfFrame"), QStringLiteral("12"));
    ui.button("Polarity")->click();
    ui.button("Enable")->click();
    EXPECT_EQ(sentSinceLastLook(),
              (QByteArrayList{"SP-TRG-MODE  1", "SP-TRG-SRC  2", "SP-TRG-F-CNT  12", "SP-TRG-POL  1", "SP-FL  1"}));
    EXPECT_EQ(reported("SP-TRG-MODE "), 1);
    EXPECT_EQ(reported("SP-TRG-SRC "), 2);
    EXPECT_EQ(reported("SP-TRG-F-CNT "), 12);
    EXPECT_EQ(reported("SP-FL "), 1);
}

TEST_F(TovaneGainPage, FilterCoefficientsOutsideFourteenBitsAreNotSent)
{
    openPage();
    const QList<std::pair<const char*, bool>> values = {
        {"8191", true}, {"8192", false}, {"-8192", true}, {"-8193", false}, {"99999999999", false}};
    for (const auto& [typed, goesOut] : values) {
        typeAndEnter(ui.edit("Coefficient 00"), QString::fromLatin1(typed));
        EXPECT_EQ(sentSinceLastLook(), goesOut ? QByteArrayList{"SP-FL-VAL 00 " + QByteArray(typed)} : QByteArrayList{})
            << typed;
        EXPECT_EQ(ui.edit("Coefficient 00")->text(), QString::fromLatin1(typed));
    }
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            const QByteArray cell = QByteArray::number(row) + QByteArray::number(column);
            typeAndEnter(ui.edit(("Coefficient " + cell).constData()), QStringLiteral("-7"));
            EXPECT_EQ(sentSinceLastLook(), QByteArrayList{"SP-FL-VAL " + cell + " -7"});
        }
    }
}

TEST_F(TovaneGainPage, ACameraWithoutTheFilterShowsTheGroupDisabledAndReadsNoCoefficient)
{
    camera->refuseCommand(QStringLiteral("SP-FL"));
    page = open<CTovaneGainPage>();
    ui.page = page.get();
    EXPECT_EQ(sent(), kLoadBeforeFilter + kReadAfterLoad);
    EXPECT_FALSE(ui.button("Enable")->isEnabled());
    for (const char* cell : {"Coefficient 00", "Coefficient 11", "Coefficient 22"})
        EXPECT_FALSE(ui.edit(cell)->isEnabled()) << cell;
}

TEST_F(TovaneGainPage, EnterOutsideTheBoundEditsSendsNothing)
{
    openPage();
    typeAndEnter(ui.edit("FireSoftTrigger width"), QStringLiteral("5"));
    pressKey(ui.list("Exposure preset"), Qt::Key_Return);
    pressKey(ui.button("FireSoftTrigger"), Qt::Key_Return);
    pressKey(ui.button("MinimumGain"), Qt::Key_Return);
    EXPECT_TRUE(sent().isEmpty());
}

// ---------------------------------------------------------------- software trigger

TEST_F(TovaneGainPage, FireSoftTriggerHoldsTheTriggerForTheTypedWidth)
{
    openPage();
    ui.button("FireSoftTrigger")->click();
    EXPECT_EQ(sentSinceLastLook(), (QByteArrayList{"TRG-SOFT 1", "TRG-SOFT 0"}));

    // A width that is no whole number of milliseconds up to a minute fires nothing.
    const QList<std::pair<const char*, qint64>> widths = {
        {"250", 250}, {"0", 0}, {"-5", -1}, {"pulse", -1}, {"60000", 60000}, {"600000", -1}, {"99999999999", -1}};
    for (const auto& [typed, expectedMs] : widths) {
        ui.edit("FireSoftTrigger width")->setText(QString::fromLatin1(typed));
        ui.button("FireSoftTrigger")->click();
        if (expectedMs < 0) {
            EXPECT_EQ(sentSinceLastLook(), QByteArrayList()) << typed;
            continue;
        }
        const qint64 heldUs = readAtUs("TRG-SOFT 0") - readAtUs("TRG-SOFT 1");
        EXPECT_GE(heldUs, expectedMs * 1000) << typed;
        EXPECT_LT(heldUs, expectedMs * 1000 + 20000) << typed;
        EXPECT_EQ(sentSinceLastLook(), (QByteArrayList{"TRG-SOFT 1", "TRG-SOFT 0"})) << typed;
        EXPECT_TRUE(ui.button("FireSoftTrigger")->isEnabled()) << typed;
    }
}

TEST_F(TovaneGainPage, TheWindowKeepsWorkingDuringThePulseButActsOnlyAfterIt)
{
    openPage();
    ui.edit("FireSoftTrigger width")->setText(QStringLiteral("1000"));
    bool fireEnabled = true;
    EventsDuringPauses events([&] {
        if (events.runs != 1)
            return;
        fireEnabled = ui.button("FireSoftTrigger")->isEnabled();
        ui.button("FireSoftTrigger")->click();
        ui.button("TriggerMode")->click();
    });

    ui.button("FireSoftTrigger")->click();

    EXPECT_FALSE(fireEnabled);
    EXPECT_GE(events.runs, 1000 / LongOperation::kSliceMs);
    // The trigger mode goes out once the falling edge has been answered.
    EXPECT_EQ(sent(), (QByteArrayList{"TRG-SOFT 1", "TRG-SOFT 0"}));
    QCoreApplication::processEvents();
    EXPECT_EQ(sent(), (QByteArrayList{"TRG-SOFT 1", "TRG-SOFT 0", "TRG-MODE 1"}));
    EXPECT_TRUE(ui.button("FireSoftTrigger")->isEnabled());
}

TEST_F(TovaneGainPage, APageClosedDuringThePulseStillEndsThePulse)
{
    openPage();
    EventsDuringPauses events([&] { page.reset(); });
    findButton(page.get(), QStringLiteral("FireSoftTrigger"))->click();
    EXPECT_FALSE(page);
    EXPECT_EQ(sent(), (QByteArrayList{"TRG-SOFT 1", "TRG-SOFT 0"}));
}

// ---------------------------------------------------------------- mono model

class TovaneGainPageMono : public TovaneGainPage {
protected:
    TovaneGainPageMono() { useModel(QStringLiteral("PTM-TW640M")); }
};

TEST_F(TovaneGainPageMono, ReadsTheSameValuesAndOffersTheSameControls)
{
    given("GAIN-FINE -25");
    page = open<CTovaneGainPage>();
    ui.page = page.get();
    EXPECT_EQ(sentSinceLastLook(), kLoadOrder);
    EXPECT_EQ(ui.edit("Step")->text(), QStringLiteral("-25"));
    EXPECT_EQ(ui.edit("Gain")->text(), QStringLiteral("-2"));
    EXPECT_TRUE(ui.button("Enable")->isEnabled());

    drag(ui.slider("Gain"), {-35});
    settle();
    ui.button("GainLowerMin")->click();
    EXPECT_EQ(sent(), (QByteArrayList{"GAIN-FINE -35", "GAIN-FINE -35", "GAIN-FINE -60", "GAIN", "AGC-LOWER -6"}));
}

// ---------------------------------------------------------------- scripted camera

// Ranges and lists no simulated camera reports.
class TovaneGainPageScripted : public PageTest {
protected:
    void openPage()
    {
        page = open<CTovaneGainPage>();
        ui.page = page.get();
        camera->forgetLines();
    }

    std::unique_ptr<Page> page;
    Controls ui{nullptr};
};

TEST_F(TovaneGainPageScripted, GainLowerMinTruncatesTheLowerEndTowardZero)
{
    camera->ranges["GAIN-FINE"] = " min:-35, max:240, step:1";
    openPage();
    ui.button("GainLowerMin")->click();
    EXPECT_EQ(sent(), (QByteArrayList{"GAIN-FINE -35", "GAIN", "AGC-LOWER -3"}));
    EXPECT_EQ(ui.edit("GainAuto Lower")->text(), QStringLiteral("-3"));
    EXPECT_EQ(ui.slider("Gain")->value(), -35);
}

TEST_F(TovaneGainPageScripted, AFailedRangeLeavesTheSlidersAtZero)
{
    openPage();
    EXPECT_EQ(ui.slider("Gain")->minimum(), 0);
    EXPECT_EQ(ui.slider("Gain")->maximum(), 0);
    EXPECT_EQ(ui.slider("BlackLevel")->maximum(), 0);
    ui.button("MinimumGain")->click();
    EXPECT_EQ(sent(), (QByteArrayList{"GAIN-FINE 0", "GAIN"}));
}

TEST_F(TovaneGainPageScripted, ASourceThatDoesNotBeginWithANumberSendsNothing)
{
    const QByteArrayList sources = {" 0(Line0)", " Software(4)"};
    camera->choices["TRG-SRC"] = sources;
    camera->choices["SP-TRG-SRC "] = sources;
    camera->set("TRG-SRC", 9);
    openPage();
    EXPECT_EQ(ui.list("Trigger Source")->currentIndex(), -1); // no entry for 9

    choose(ui.list("Trigger Source"), 1);
    choose(ui.list("TriggerSource"), 1);
    EXPECT_TRUE(sent().isEmpty());
    choose(ui.list("Trigger Source"), 0);
    choose(ui.list("TriggerSource"), 0);
    EXPECT_EQ(sent(), (QByteArrayList{"TRG-SRC 0", "SP-TRG-SRC  0"}));
}

// A control's tool tip: the line it sends, the range (the camera's HELP
// answer where the page reads one, else the control's own limits) and the
// camera's value, each following its changes.
TEST_F(TovaneGainPageScripted, ToolTipsTellTheLineTheRangeAndTheCamerasValue)
{
    camera->ranges["GAIN-FINE"] = " min:-35, max:240, step:1";
    camera->choices["TRG-SRC"] = {" 0(Line0)", " 4(Software)"};
    camera->set("GAIN-FINE", 12);
    camera->set("TRG-SRC", 4);
    camera->set("SP-FL ", 1); // the word ends in a blank of its own
    camera->set("SP-FL-VAL 00", -3);
    openPage();
    const auto tip = [](QWidget* control) { return control->toolTip().split('\n'); };
    const QString help = QStringLiteral(" (the camera's HELP answer)");
    const QList<std::pair<QWidget*, QStringList>> cases = {
        {ui.edit("Step"), {"Sends GAIN-FINE <n>", "Range -35 to 240" + help, "The camera's value: 12"}},
        {ui.slider("Gain"), {"Sends GAIN-FINE <n>", "Range -35 to 240" + help, "The camera's value: 12"}},
        {ui.list("Trigger Source"),
         {"Sends TRG-SRC <n>", "Choices 0(Line0) or 4(Software)" + help, "The camera's value: 4"}},
        {ui.edit("Coefficient 00"), {"Sends SP-FL-VAL 00 <n>", "Range -8192 to 8191", "The camera's value: -3"}},
        {ui.button("Enable"), {"Sends SP-FL  <n>", "Range 0 (unchecked) or 1 (checked)", "The camera's value: 1"}},
    };
    for (const auto& [control, lines] : cases)
        EXPECT_EQ(tip(control), lines) << control->accessibleName().toStdString();

    // A new HELP answer read by Refresh, a value the user sent.
    camera->ranges["GAIN-FINE"] = " min:0, max:480, step:2";
    ui.button("Refresh")->click();
    typeAndEnter(ui.edit("Step"), "20");
    EXPECT_EQ(tip(ui.slider("Gain")),
              (QStringList{"Sends GAIN-FINE <n>", "Range 0 to 480, step 2" + help, "The camera's value: 20"}));
}

} // namespace
