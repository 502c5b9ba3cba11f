#include "SimFixture.h"

#include "Ports.h"

// What the pages rely on beyond storing values: long operations, user sets,
// automatic controls, derived values, serial rates, restarts.

using LongOperations = SimFixture;

TEST_F(LongOperations, BrevoShadingDetectionReportsItsModeUntilItIsDone)
{
    // Polled as the Brevo shading page does: 100 ms, then every 2 s.
    useModel("PTM-R290CL");
    const qint64 start = clock.nowUs();
    EXPECT_TRUE(Transact(connection, "SHADING-DETECTION 2", 3.0));
    pause(0.1);
    EXPECT_EQ(QueryInt(connection, "SHADING-DETECTION"), 2);
    int polls = 0;
    do {
        pause(2.0);
        ++polls;
    } while (QueryInt(connection, "SHADING-DETECTION") != 0 && polls < 10);
    EXPECT_GE(polls, 2);
    EXPECT_LT(polls, 10);
    EXPECT_GT(secondsSince(start), 4.0);

    // The detected pattern can now be stored, which takes a while, and
    // loaded as the "last detected" slot.
    const qint64 saving = clock.nowUs();
    EXPECT_TRUE(Transact(connection, "SHADING-PATTERN-SAVE 1", 20.0));
    EXPECT_GE(secondsSince(saving), 1.5);
    EXPECT_TRUE(Transact(connection, "SHADING-PATTERN-LOAD 4", 20.0));
    EXPECT_EQ(QueryInt(connection, "SHADING-PATTERN-LOAD"), 4);
}

TEST_F(LongOperations, TovaneShadingDetectionPolledEverySecondEndsAtZero)
{
    SendLine(connection, "SHADING-DETECTION 1");
    int seconds = 0;
    int value = 0;
    do {
        pause(1.0);
        ++seconds;
        value = QueryInt(connection, "SHADING-DETECTION");
        if (seconds == 1) {
            EXPECT_EQ(value, 1);
        }
    } while (value != 0 && seconds < 20);
    EXPECT_GE(seconds, 3);
    EXPECT_LT(seconds, 20);
}

TEST_F(LongOperations, ShadingDetectionIsRefusedWhileCorrectionIsOnOrADetectionRuns)
{
    EXPECT_TRUE(Transact(connection, "SHADING-CORRECTION 1", 1.0));
    EXPECT_FALSE(Transact(connection, "SHADING-DETECTION 1", 1.0));
    EXPECT_EQ(lastError(), "Correction is on");
    EXPECT_EQ(QueryInt(connection, "SHADING-DETECTION"), 0);
    EXPECT_TRUE(Transact(connection, "SHADING-CORRECTION 0", 1.0));
    EXPECT_TRUE(Transact(connection, "SHADING-DETECTION 1", 1.0));
    EXPECT_FALSE(Transact(connection, "SHADING-DETECTION 2", 1.0));
    EXPECT_EQ(lastError(), "Busy");
}

TEST_F(LongOperations, DefectDetectionRunsForSecondsAndThenReportsWhatItFound)
{
    EXPECT_EQ(QueryInt(connection, "DEFECT-DETECTION-RESULT"), -1);
    auto detect = [this](const QByteArray& threshold, int kind) {
        EXPECT_TRUE(Transact(connection, "DEFECT-THRESHOLD " + threshold, 1.0));
        EXPECT_TRUE(Transact(connection, setLine("DEFECT-DETECTION", kind), 1.0));
        int polls = 0;
        int status = 0;
        do {
            pause(1.0);
            status = QueryInt(connection, "DEFECT-DETECTION");
            if (polls == 0) {
                EXPECT_EQ(status, kind);
            }
        } while (status != 0 && ++polls < 60);
        EXPECT_GE(polls, 3);
        EXPECT_LT(polls, 60);
        return QueryInt(connection, "DEFECT-DETECTION-RESULT");
    };
    const int strictWhite = detect("200", 1);
    const int looseWhite = detect("40", 1);
    const int black = detect("40", 2);
    EXPECT_GT(strictWhite, 0);
    EXPECT_GT(looseWhite, strictWhite);
    EXPECT_GT(black, 0);
    EXPECT_NE(black, looseWhite);
    EXPECT_TRUE(Transact(connection, "DEFECT-PATTERN-SAVE", 1.0));
}

TEST_F(LongOperations, DetectionsToldNeverToFinishReportTheirModeUntilReleased)
{
    camera->setDetectionsNeverFinish(true);
    EXPECT_TRUE(Transact(connection, "SHADING-DETECTION 2", 1.0));
    EXPECT_TRUE(Transact(connection, "DEFECT-DETECTION 1", 1.0));
    pause(600.0);
    EXPECT_EQ(QueryInt(connection, "SHADING-DETECTION"), 2);
    EXPECT_EQ(QueryInt(connection, "DEFECT-DETECTION"), 1);
    EXPECT_FALSE(Transact(connection, "SHADING-PATTERN-SAVE 1", 30.0));
    EXPECT_EQ(lastError(), "Busy");

    camera->setDetectionsNeverFinish(false);
    EXPECT_EQ(QueryInt(connection, "SHADING-DETECTION"), 0);
    EXPECT_EQ(QueryInt(connection, "DEFECT-DETECTION"), 0);
    EXPECT_GE(QueryInt(connection, "DEFECT-DETECTION-RESULT"), 0);
}

TEST_F(LongOperations, ShadingPatternsAreKeptPerSlotOverARestart)
{
    useModel("PTM-R560CL");
    const auto detect = [this](int mode) {
        EXPECT_TRUE(Transact(connection, setLine("SHADING-DETECTION", mode), 3.0));
        pause(6.0);
        EXPECT_EQ(QueryInt(connection, "SHADING-DETECTION"), 0);
    };
    // Slot 0 holds the factory pattern; the others are empty until saved.
    EXPECT_TRUE(Transact(connection, "SHADING-PATTERN-LOAD 0", 20.0));
    EXPECT_FALSE(Transact(connection, "SHADING-PATTERN-LOAD 1", 20.0));
    EXPECT_EQ(lastError(), "No saved pattern");

    detect(1);
    EXPECT_TRUE(Transact(connection, "SHADING-PATTERN-SAVE 1", 20.0));
    detect(2);
    EXPECT_TRUE(Transact(connection, "SHADING-PATTERN-SAVE 3", 20.0));
    EXPECT_EQ(camera->savedShadingPattern(0), 0);
    EXPECT_EQ(camera->savedShadingPattern(1), 1);
    EXPECT_EQ(camera->savedShadingPattern(2), std::nullopt);
    EXPECT_EQ(camera->savedShadingPattern(3), 2);

    // A restart forgets the last detection but not the stored patterns.
    EXPECT_TRUE(Transact(connection, "RESET", 1.0));
    pause(1.5);
    EXPECT_TRUE(Transact(connection, "SHADING-PATTERN-LOAD 3", 20.0));
    EXPECT_FALSE(Transact(connection, "SHADING-PATTERN-LOAD 4", 20.0));
    EXPECT_EQ(lastError(), "No detected pattern");
    EXPECT_EQ(camera->savedShadingPattern(1), 1);
}

TEST_F(LongOperations, FactoryDefaultTakesSecondsAndRestoresTheDefaults)
{
    useModel("PTM-R290CL");
    EXPECT_TRUE(Transact(connection, "GAIN-FINE 300", 1.0));
    EXPECT_TRUE(Transact(connection, "USERSET-SAVE 3", 1.0));
    EXPECT_TRUE(Transact(connection, "USERSET-DEFAULT 3", 1.0));
    const qint64 start = clock.nowUs();
    EXPECT_TRUE(Transact(connection, "FACTORY-DEFAULT", 5.0));
    EXPECT_GE(secondsSince(start), 2.0);
    EXPECT_LT(secondsSince(start), 3.0);
    EXPECT_EQ(QueryInt(connection, "GAIN-FINE"), 0);
    EXPECT_EQ(QueryInt(connection, "USERSET-DEFAULT"), 0);
    EXPECT_TRUE(Transact(connection, "USERSET-LOAD 3", 1.0));
    EXPECT_EQ(QueryInt(connection, "GAIN-FINE"), 0);
}

using Settings = SimFixture;

TEST_F(Settings, UserSetsSaveAndLoadTheSettingsButNotTheUserId)
{
    EXPECT_TRUE(Transact(connection, "EXP 5000", 1.0));
    EXPECT_TRUE(Transact(connection, "USER-ID bench", 1.0));
    EXPECT_TRUE(Transact(connection, "USERSET-SAVE 2", 1.0));
    EXPECT_TRUE(Transact(connection, "EXP 7000", 1.0));
    EXPECT_TRUE(Transact(connection, "USER-ID line", 1.0));
    EXPECT_TRUE(Transact(connection, "USERSET-LOAD 2", 1.0));
    EXPECT_EQ(QueryInt(connection, "EXP"), 5000);
    EXPECT_EQ(QueryText(connection, "USER-ID"), "line");
    EXPECT_TRUE(Transact(connection, "USERSET-LOAD 0", 1.0));
    EXPECT_EQ(QueryInt(connection, "EXP"), 10000);
    EXPECT_FALSE(Transact(connection, "USERSET-SAVE 0", 1.0));
}

TEST_F(Settings, ResetRestartsFromTheDefaultUserSetAndHearsNothingMeanwhile)
{
    EXPECT_TRUE(Transact(connection, "EXP 5000", 1.0));
    EXPECT_TRUE(Transact(connection, "USERSET-SAVE 2", 1.0));
    EXPECT_TRUE(Transact(connection, "USERSET-DEFAULT 2", 1.0));
    EXPECT_TRUE(Transact(connection, "EXP 8000", 1.0));
    EXPECT_TRUE(Transact(connection, "RESET", 1.0));
    SendLine(connection, "EXP");
    pause(0.3);
    EXPECT_EQ(ReadAvailable(connection), "");
    pause(1.0);
    EXPECT_EQ(QueryInt(connection, "EXP"), 5000);
}

TEST_F(Settings, FrameRateActualFollowsTheFrameRateTheExposureAndTheHeight)
{
    EXPECT_TRUE(Transact(connection, "FRAMERATE 30000000", 1.0));
    EXPECT_EQ(QueryInt(connection, "FRAMERATE-ACTUAL"), 30000000);
    EXPECT_TRUE(Transact(connection, "EXP 100000", 1.0));
    EXPECT_EQ(QueryInt(connection, "FRAMERATE-ACTUAL"), 10000000);
    EXPECT_TRUE(Transact(connection, "EXP 1000", 1.0));
    EXPECT_TRUE(Transact(connection, "FRAMERATE-AUTO 1", 1.0));
    const int fullHeight = QueryInt(connection, "FRAMERATE-ACTUAL");
    EXPECT_GT(fullHeight, 30000000);
    EXPECT_TRUE(Transact(connection, "HEIGHT 240", 1.0));
    EXPECT_GT(QueryInt(connection, "FRAMERATE-ACTUAL"), fullHeight);
}

TEST_F(Settings, TovaneGainInDecibelsAndInTenthsAreOneValue)
{
    EXPECT_TRUE(Transact(connection, "GAIN 12", 1.0));
    EXPECT_EQ(QueryInt(connection, "GAIN-FINE"), 120);
    EXPECT_TRUE(Transact(connection, "GAIN-FINE 123", 1.0));
    EXPECT_EQ(QueryInt(connection, "GAIN"), 12);
    EXPECT_TRUE(Transact(connection, "GAIN-FINE -35", 1.0));
    EXPECT_EQ(QueryInt(connection, "GAIN"), -3);
    EXPECT_FALSE(Transact(connection, "GAIN 25", 1.0));
}

TEST_F(Settings, BrevoGainInDecibelsDrivesTheFineGainOfEveryTap)
{
    useModel("PTM-R560CL");
    EXPECT_TRUE(Transact(connection, "GAIN 18", 1.0));
    EXPECT_EQ(QueryInt(connection, "GAIN-FINE"), 502);
    EXPECT_EQ(QueryInt(connection, "GAIN-FINE-TAP4"), 502);
    for (const int db : {0, 3, 7, 17}) {
        EXPECT_TRUE(Transact(connection, setLine("GAIN", db), 1.0));
        EXPECT_EQ(QueryInt(connection, "GAIN"), db);
    }
    EXPECT_TRUE(Transact(connection, "RGAIN-FINE 512", 1.0));
    EXPECT_EQ(QueryInt(connection, "RGAIN-FINE-TAP1"), 512);
    EXPECT_TRUE(Transact(connection, "RGAIN-FINE-TAP1 600", 1.0));
    EXPECT_EQ(QueryInt(connection, "RGAIN-FINE"), 512);
}

TEST_F(Settings, BinningScalesTheImageSizeAndBack)
{
    EXPECT_TRUE(Transact(connection, "HBIN 2", 1.0));
    EXPECT_EQ(QueryInt(connection, "WIDTH"), 320);
    EXPECT_FALSE(Transact(connection, "WIDTH 640", 1.0));
    EXPECT_TRUE(Transact(connection, "HBIN 1", 1.0));
    EXPECT_EQ(QueryInt(connection, "WIDTH"), 640);
}

TEST_F(Settings, RegionsCanBeEnabledAsAWholeOnlyWithOneOfThemEnabled)
{
    EXPECT_FALSE(Transact(connection, "AREA-EXPOSURE-ENABLE 1", 1.0));
    EXPECT_EQ(lastError(), "No area enabled");
    EXPECT_TRUE(Transact(connection, "AREA-EXPOSURE 5 1 300 200 10 20", 1.0));
    EXPECT_TRUE(Transact(connection, "AREA-EXPOSURE-ENABLE 1", 1.0));
    EXPECT_EQ(QueryInt(connection, "AREA-EXPOSURE-ENABLE"), 1);
}

TEST_F(Settings, EachRegionIsKeptUnderItsIndexAndARefusedOneChangesNothing)
{
    const struct {
        const char* set;
        const char* read;
        const char* refused;
        const char* kept;
        const char* untouched; // another index, still at its default
    } regions[] = {
        {"MULTI-ROI 7 1 320 240 16 8", "MULTI-ROI 7", "MULTI-ROI 7 1 640 240 16 8", "1 320 240 16 8", "MULTI-ROI 6"},
        {"AREA-GAIN 15 0 64 32 0 0 12", "AREA-GAIN 15", "AREA-GAIN 15 0 64 32 0 0 241", "0 64 32 0 0 12", "AREA-GAIN 0"},
        {"AREA-EXPOSURE 0 1 300 200 10 20", "AREA-EXPOSURE 0", "AREA-EXPOSURE 0 1 300 200 10 281",
         "1 300 200 10 20", "AREA-EXPOSURE 1"},
    };
    for (const auto& region : regions) {
        EXPECT_TRUE(Transact(connection, region.set, 1.0)) << region.set;
        EXPECT_FALSE(Transact(connection, region.refused, 1.0)) << region.refused;
        EXPECT_EQ(QueryText(connection, region.read), region.kept);
        EXPECT_EQ(QueryText(connection, region.untouched).split(' ').first(), "0") << region.untouched;
    }
}

TEST_F(Settings, AveragingAndWideDynamicRangeExcludeEachOther)
{
    EXPECT_TRUE(Transact(connection, "AVERAGE 8", 1.0));
    EXPECT_FALSE(Transact(connection, "WIDED-ENABLE 1", 1.0));
    EXPECT_EQ(lastError(), "Not available with averaging");
    EXPECT_TRUE(Transact(connection, "AVERAGE 1", 1.0));
    EXPECT_TRUE(Transact(connection, "WIDED-ENABLE 1", 1.0));
    EXPECT_FALSE(Transact(connection, "AVERAGE 16", 1.0));
    EXPECT_EQ(lastError(), "Not available with WDR");
}

TEST_F(Settings, InputsReadTheirLevelAndOutputPinsReadWhatTheyDrive)
{
    camera->setInputLevel(11, 1);
    EXPECT_EQ(QueryInt(connection, "GPI  11"), 1);
    EXPECT_EQ(QueryInt(connection, "GPI  10"), 1);
    EXPECT_EQ(QueryInt(connection, "GPI  4"), 0);
    EXPECT_TRUE(Transact(connection, "GPO-SRC 4 7", 1.0));
    EXPECT_TRUE(Transact(connection, "USER-OUTPUT 1 1", 1.0));
    EXPECT_EQ(QueryInt(connection, "GPI  4"), 1);
    EXPECT_TRUE(Transact(connection, "GPO-INV 4 1", 1.0));
    EXPECT_EQ(QueryInt(connection, "GPI  4"), 0);
    EXPECT_TRUE(Transact(connection, "GPIO-MODE  4 0", 1.0));
    camera->setInputLevel(4, 1);
    EXPECT_EQ(QueryInt(connection, "GPI  4"), 1);
}

TEST_F(Settings, ACameraWithFixedPinDirectionsReadsPinSevenAndDrivesPinFour)
{
    useModel("PTM-R140MLF");
    EXPECT_EQ(answer("GPIO-MODE  4"), "GPIO-MODE  4\rNG\r");
    EXPECT_EQ(lastError(), "Not supported");
    camera->setInputLevel(7, 1);
    camera->setInputLevel(4, 1);
    EXPECT_EQ(QueryInt(connection, "GPI  7"), 1);
    EXPECT_EQ(QueryInt(connection, "GPI  4"), 0); // drives its source, the exposure, low while idle
    EXPECT_TRUE(Transact(connection, "GPO-SRC 4 7", 1.0));
    EXPECT_TRUE(Transact(connection, "USER-OUTPUT 1 1", 1.0));
    EXPECT_EQ(QueryInt(connection, "GPI  4"), 1);
    EXPECT_TRUE(Transact(connection, "USER-OUTPUT 1 0", 1.0));
    EXPECT_EQ(QueryInt(connection, "GPI  4"), 0);
}

TEST_F(Settings, OutputSettingsStayAsSetAndLiveInUserSets)
{
    const QByteArrayList settings = {"GPO-SRC 9 3", "GPO-INV 6 1", "USER-OUTPUT 2 1", "STROBE-TIME  7 250",
                                     "STROBE-DELAY  9 25", "PULSE-CYCLE  5000", "PULSE-DUTY  1200", "GPIO-MODE  7 1"};
    for (const QByteArray& line : settings)
        EXPECT_TRUE(Transact(connection, line, 1.0)) << line.constData();
    EXPECT_TRUE(Transact(connection, "USERSET-SAVE 1", 1.0));
    EXPECT_TRUE(Transact(connection, "USERSET-LOAD 0", 1.0));
    EXPECT_EQ(QueryInt(connection, "GPO-SRC 9"), 6);
    EXPECT_TRUE(Transact(connection, "USERSET-LOAD 1", 1.0));
    for (const QByteArray& line : settings) {
        const qsizetype lastBlank = line.lastIndexOf(' ');
        EXPECT_EQ(QueryInt(connection, line.left(lastBlank)), line.mid(lastBlank + 1).toInt()) << line.constData();
    }
}

// Automatic controls in "Once" mode move their values and fall back to 0 on
// their own, so the pages' pollers stop.
struct OnceCase {
    const char* model;
    const char* mode;
    const char* value;
};

void PrintTo(const OnceCase& c, std::ostream* out)
{
    *out << c.model << ' ' << c.mode << ' ' << c.value;
}

class OnceModes : public SimFixture, public ::testing::WithParamInterface<OnceCase> {};

TEST_P(OnceModes, MoveTheValueThenFallBackToOff)
{
    const OnceCase& c = GetParam();
    useModel(c.model);
    const int before = QueryInt(connection, c.value);
    EXPECT_TRUE(Transact(connection, QByteArray(c.mode) + " 1", 1.0));
    pause(1.5);
    EXPECT_EQ(QueryInt(connection, c.mode), 1);
    const int moving = QueryInt(connection, c.value);
    EXPECT_NE(moving, before) << c.value;
    pause(2.5);
    EXPECT_EQ(QueryInt(connection, c.mode), 0);
    const int settled = QueryInt(connection, c.value);
    EXPECT_NE(settled, moving);
    pause(2.0);
    EXPECT_EQ(QueryInt(connection, c.value), settled);
}

INSTANTIATE_TEST_SUITE_P(Sim, OnceModes,
                         ::testing::Values(OnceCase{"PTM-TW640", "AE", "EXP"}, OnceCase{"PTM-TW640", "AGC", "GAIN-FINE"},
                                           OnceCase{"PTM-TW640", "AGC", "GAIN"},
                                           OnceCase{"PTM-TW640", "AWB", "RGAIN-FINE"},
                                           OnceCase{"PTM-R560CL", "AE", "EXP"},
                                           OnceCase{"PTM-R560CL", "AGC", "GAIN-FINE-TAP1"},
                                           OnceCase{"PTM-R560CL", "AWB", "RGAIN-FINE-TAP1"},
                                           OnceCase{"PTM-R290CL", "AWB", "BGAIN-FINE-TAP1"},
                                           OnceCase{"PTM-R290CL", "BL-AB", "BL-ADJ-2"}));

TEST_F(Settings, ContinuousAutomaticExposureStaysOnAndKeepsAdjusting)
{
    EXPECT_TRUE(Transact(connection, "AE 2", 1.0));
    pause(5.0);
    EXPECT_EQ(QueryInt(connection, "AE"), 2);
    const int first = QueryInt(connection, "EXP");
    pause(1.5);
    EXPECT_NE(QueryInt(connection, "EXP"), first);
    EXPECT_TRUE(Transact(connection, "AE 0", 1.0));
    const int stopped = QueryInt(connection, "EXP");
    pause(3.0);
    EXPECT_EQ(QueryInt(connection, "EXP"), stopped);
}

using SerialRates = SimFixture;

TEST_F(SerialRates, BaudRateTmpSwitchesRightAfterItsAnswerUntilTheNextStart)
{
    EXPECT_TRUE(Transact(connection, "BAUDRATE-TMP 115200", 1.0));
    EXPECT_FALSE(Transact(connection, "EXP", 1.0));
    EXPECT_EQ(DetectBaudRate(connection), 115200);
    EXPECT_EQ(QueryInt(connection, "BAUDRATE-TMP"), 115200);
    EXPECT_EQ(QueryInt(connection, "BAUDRATE"), 9600);
    EXPECT_TRUE(Transact(connection, "RESET", 1.0));
    pause(1.5);
    EXPECT_EQ(DetectBaudRate(connection), 9600);
}

TEST_F(SerialRates, TovaneBaudRateTakesEffectAtTheNextStart)
{
    EXPECT_TRUE(Transact(connection, "BAUDRATE 57600", 1.0));
    EXPECT_EQ(QueryInt(connection, "BAUDRATE"), 57600);
    EXPECT_EQ(QueryInt(connection, "BAUDRATE-SAVE"), 57600);
    EXPECT_EQ(QueryInt(connection, "BAUDRATE-TMP"), 9600);
    EXPECT_TRUE(Transact(connection, "BAUDRATE-SAVE 460800", 1.0));
    EXPECT_TRUE(Transact(connection, "RESET", 1.0));
    pause(1.5);
    EXPECT_EQ(DetectBaudRate(connection), 460800);
    EXPECT_EQ(QueryInt(connection, "BAUDRATE"), 460800);
}

TEST_F(SerialRates, BrevoBaudRateSwitchesAtOnceAndIsKept)
{
    useModel("PTM-R140ML");
    EXPECT_TRUE(Transact(connection, "BAUDRATE 115200", 1.0));
    EXPECT_EQ(DetectBaudRate(connection), 115200);
    EXPECT_EQ(QueryInt(connection, "BAUDRATE"), 115200);
    EXPECT_TRUE(Transact(connection, "RESET", 1.0));
    pause(1.5);
    EXPECT_EQ(QueryInt(connection, "BAUDRATE"), 115200);
    EXPECT_FALSE(Transact(connection, "BAUDRATE 230400", 1.0));
}
