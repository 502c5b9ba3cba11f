#include "SimFixture.h"

// The forms of the camera's answers: echo, value lines, OK / NG / ERROR, the
// two HELP forms and the answer to an empty line.

using Protocol = SimFixture;

TEST_F(Protocol, AQueryIsAnsweredWithItsEchoTheValueLineAndOk)
{
    EXPECT_EQ(answer("WIDTH"), "WIDTH\r640\rOK\r");
    EXPECT_EQ(answer("MODEL"), "MODEL\rPTM-TW640\rOK\r");
}

TEST_F(Protocol, ASettingIsEchoedAcknowledgedAndKept)
{
    EXPECT_EQ(answer("WIDTH 320"), "WIDTH 320\rOK\r");
    EXPECT_EQ(answer("WIDTH"), "WIDTH\r320\rOK\r");
    EXPECT_EQ(answer("USER-ID Line 3 left"), "USER-ID Line 3 left\rOK\r");
    EXPECT_EQ(QueryText(connection, "USER-ID"), "Line 3 left");
}

TEST_F(Protocol, CommandWordsAreUnderstoodInAnyCase)
{
    EXPECT_EQ(answer("model"), "model\rPTM-TW640\rOK\r");
}

TEST_F(Protocol, TheLastErrorIsReadOnceAndThenCleared)
{
    EXPECT_EQ(answer("GAIN-FINE 999"), "GAIN-FINE 999\rNG\r");
    EXPECT_EQ(answer("GET-LAST-ERROR"), "GET-LAST-ERROR\rOut of range\rOK\r");
    EXPECT_EQ(lastError(), "No error");
}

TEST_F(Protocol, HelpOfAChoiceListGivesChoiceLinesThenOk)
{
    EXPECT_EQ(answer("HELP AE"), "HELP AE\r 0(OFF)\r 1(Once)\r 2(Continuous)\rOK\r");
    QByteArrayList choices;
    QueryChoices(connection, "SP-TRG-SRC ", choices);
    EXPECT_EQ(choices, (QByteArrayList{" 0(11P)", " 1(7P)", " 2(10P)", " 4(Software)"}));
}

TEST_F(Protocol, HelpOfANumberGivesTheRangeLineThenOk)
{
    EXPECT_EQ(answer("HELP BLACKLEVEL"), "HELP BLACKLEVEL\r min:0, max:255, step:1\rOK\r");
    int min = 0, max = 0, step = 0;
    QueryRange(connection, "HELP WIDTH", min, max, step);
    EXPECT_EQ(min, 16);
    EXPECT_EQ(max, 640);
    EXPECT_EQ(step, 8);
}

TEST_F(Protocol, HelpWithoutAWordListsTheCommandsAndHelpOfAnUnknownWordIsRefused)
{
    const QByteArray list = answer("HELP");
    EXPECT_TRUE(list.startsWith("HELP\rHELP\rMODEL\r"));
    EXPECT_TRUE(list.contains("\rMULTI-ROI\r"));
    EXPECT_TRUE(list.endsWith("\rOK\r"));
    EXPECT_EQ(answer("HELP FOO"), "HELP FOO\rNG\r");
    EXPECT_EQ(lastError(), "Unknown command");
}

TEST_F(Protocol, AnEmptyLineIsAnsweredWithACarriageReturnAndNothingElse)
{
    SendLine(connection, "\r");
    pause(0.1);
    EXPECT_EQ(ReadAvailable(connection), "\r\r");
    pause(0.5);
    EXPECT_EQ(ReadAvailable(connection), "");
}

TEST_F(Protocol, ALineEndedByTwoCarriageReturnsIsAcceptedAndTheSecondEchoed)
{
    EXPECT_TRUE(Transact(connection, "TRG-INH 1\r", 1.0));
    pause(0.05);
    EXPECT_EQ(ReadAvailable(connection), "\r");
    EXPECT_EQ(QueryInt(connection, "TRG-INH"), 1);
}

TEST_F(Protocol, AWordThatIsNotANumberIsAnError)
{
    EXPECT_EQ(answer("EXP 12ms"), "EXP 12ms\rERROR\r");
    EXPECT_EQ(lastError(), "Syntax error");
    EXPECT_FALSE(Transact(connection, "EXP fast", 1.0));
}

TEST_F(Protocol, ALineLongerThanTheCameraTakesIsCutAndRefused)
{
    const QByteArray line(300, 'A');
    const QByteArray reply = answer(line);
    EXPECT_EQ(reply, QByteArray(255, 'A') + "\rNG\r");
    EXPECT_EQ(lastError(), "Line too long");
}

TEST_F(Protocol, BackspaceTypedInATerminalRubsOutACharacter)
{
    EXPECT_EQ(answer("MODX\bEL"), "MODX\b \bEL\rPTM-TW640\rOK\r");
    EXPECT_EQ(camera->receivedLines().last(), "MODEL");
}

// Words stored with a trailing blank put two blanks before their value.
struct DoubleBlankCase {
    const char* model;
    const char* set;
    const char* query;
    int value;
};

void PrintTo(const DoubleBlankCase& c, std::ostream* out)
{
    *out << c.model << " '" << c.set << "'";
}

class TrailingBlankWords : public SimFixture, public ::testing::WithParamInterface<DoubleBlankCase> {};

TEST_P(TrailingBlankWords, AreSetWithTwoBlanksAndQueriedWithTheirBlank)
{
    const DoubleBlankCase& c = GetParam();
    useModel(c.model);
    EXPECT_TRUE(Transact(connection, c.set, 1.0)) << c.set;
    int value = 0;
    EXPECT_TRUE(TryQueryInt(connection, c.query, value)) << c.query;
    EXPECT_EQ(value, c.value) << c.query;
}

INSTANTIATE_TEST_SUITE_P(Sim, TrailingBlankWords,
                         ::testing::Values(DoubleBlankCase{"PTM-TW640", "SP-TRG-MODE  2", "SP-TRG-MODE ", 2},
                                           DoubleBlankCase{"PTM-TW640", "SP-TRG-F-CNT  12", "SP-TRG-F-CNT ", 12},
                                           DoubleBlankCase{"PTM-TW640", "SP-FL  1", "SP-FL ", 1},
                                           DoubleBlankCase{"PTM-TW640", "STROBE-TIME  9 250", "STROBE-TIME  9", 250},
                                           DoubleBlankCase{"PTM-TW640", "GPIO-MODE  7 1", "GPIO-MODE  7", 1},
                                           DoubleBlankCase{"PTM-TW640", "PULSE-CYCLE  5000", "PULSE-CYCLE ", 5000},
                                           DoubleBlankCase{"PTM-R560CL", "CR-TF-VAL 01  -40", "CR-TF-VAL 01 ", -40},
                                           DoubleBlankCase{"PTM-R560CL", "SP-TRG-POL  1", "SP-TRG-POL ", 1}));

TEST_F(Protocol, IndexedValuesAreKeptPerIndex)
{
    EXPECT_TRUE(Transact(connection, "AREA-GAIN 3 1 128 96 16 8 20", 1.0));
    int e = -1, w = -1, h = -1, l = -1, t = -1, g = -1;
    EXPECT_TRUE(QueryInts(connection, "AREA-GAIN 3", "%d %d %d %d %d %d", {&e, &w, &h, &l, &t, &g}));
    EXPECT_EQ(QList<int>({e, w, h, l, t, g}), QList<int>({1, 128, 96, 16, 8, 20}));
    EXPECT_EQ(answer("AREA-GAIN 2"), "AREA-GAIN 2\r0 64 48 0 0 0\rOK\r");

    EXPECT_TRUE(Transact(connection, "LINEAR-INTERPOLATION 2 100 300", 1.0));
    int x = 0, y = 0;
    EXPECT_TRUE(QueryInts(connection, "LINEAR-INTERPOLATION 2", "%d %d", {&x, &y}));
    EXPECT_EQ(QList<int>({x, y}), QList<int>({100, 300}));

    EXPECT_TRUE(Transact(connection, "SP-FL-VAL 12 -7", 1.0));
    EXPECT_EQ(QueryInt(connection, "SP-FL-VAL 12"), -7);
    EXPECT_EQ(QueryInt(connection, "SP-FL-VAL 11"), 256);
    EXPECT_EQ(QueryInt(connection, "SP-FL-VAL 21"), 0);
}

// Refusals: the terminal line and the reason GET-LAST-ERROR gives.
struct RefusalCase {
    const char* model;
    const char* line;
    const char* terminal;
    const char* reason;
};

void PrintTo(const RefusalCase& c, std::ostream* out)
{
    *out << c.model << " '" << c.line << "'";
}

class Refusals : public SimFixture, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(Refusals, AreAnsweredWithTheirTerminalLineAndExplained)
{
    const RefusalCase& c = GetParam();
    useModel(c.model);
    EXPECT_EQ(answer(c.line), QByteArray(c.line) + '\r' + c.terminal + '\r');
    EXPECT_EQ(lastError(), c.reason) << c.line;
}

INSTANTIATE_TEST_SUITE_P(
    Sim, Refusals,
    ::testing::Values(RefusalCase{"PTM-TW640", "FOO", "NG", "Unknown command"},
                      RefusalCase{"PTM-TW640M", "RGAIN-FINE 300", "NG", "Not supported"},
                      RefusalCase{"PTM-TW640", "GAIN-FINE 241", "NG", "Out of range"},
                      RefusalCase{"PTM-TW640", "GAIN-FINE -61", "NG", "Out of range"},
                      RefusalCase{"PTM-TW640", "GAIN-FINE 99999999999", "NG", "Out of range"},
                      RefusalCase{"PTM-TW640", "WIDTH 644", "NG", "Out of range"},
                      RefusalCase{"PTM-TW640", "AVERAGE 3", "NG", "Out of range"},
                      RefusalCase{"PTM-R560CL", "SHARP 256", "NG", "Out of range"},
                      RefusalCase{"PTM-R140ML", "SHADING-DETECTION 2", "NG", "Out of range"},
                      RefusalCase{"PTM-TW640", "USERSET-LOAD", "NG", "Missing argument"},
                      RefusalCase{"PTM-TW640", "GAIN-FINE 1 2", "NG", "Too many arguments"},
                      RefusalCase{"PTM-TW640", "RESET 1", "NG", "Too many arguments"},
                      RefusalCase{"PTM-TW640", "GAIN-FINE 1O", "ERROR", "Syntax error"},
                      RefusalCase{"PTM-TW640", "GPO-SRC", "NG", "Missing index"},
                      RefusalCase{"PTM-TW640", "GPO-SRC 5 1", "NG", "Bad index"},
                      RefusalCase{"PTM-TW640", "SP-FL-VAL 3 1", "NG", "Bad index"},
                      RefusalCase{"PTM-TW640", "TEMPERATURE 40", "NG", "Read only"},
                      RefusalCase{"PTM-TW640", "OFFSETX 8", "NG", "Does not fit the sensor"},
                      RefusalCase{"PTM-TW640", "MULTI-ROI 0 1 640 480 8 0", "NG", "Does not fit the sensor"},
                      RefusalCase{"PTM-TW640", "MULTI-ROI-ENABLE 1", "NG", "No area enabled"},
                      RefusalCase{"PTM-R560CL", "CR-TF 1", "NG", "Needs pixel depth 24"},
                      RefusalCase{"PTM-TW640", "PULSE-DUTY 2000", "NG", "Duty exceeds cycle"},
                      RefusalCase{"PTM-TW640", "SHADING-PATTERN-SAVE 0", "NG", "No detected pattern"},
                      RefusalCase{"PTM-R290CL", "SHADING-PATTERN-LOAD 4", "NG", "No detected pattern"},
                      RefusalCase{"PTM-TW640", "DEFECT-PATTERN-SAVE", "NG", "No detection result"},
                      RefusalCase{"PTM-TW640", "USER-ID 12345678901234567", "NG", "Text too long"},
                      RefusalCase{"PTM-6006", "GAIN-FINE 3", "NG", "Unknown command"},
                      // Regions: the shape of each word, the sensor, the index, the families without them.
                      RefusalCase{"PTM-TW640", "AREA-GAIN 3 1 600 96 41 8 20", "NG", "Does not fit the sensor"},
                      RefusalCase{"PTM-TW640M", "AREA-EXPOSURE 15 1 64 480 0 1", "NG", "Does not fit the sensor"},
                      RefusalCase{"PTM-TW640", "AREA-GAIN 16 1 64 48 0 0 0", "NG", "Bad index"},
                      RefusalCase{"PTM-TW640", "MULTI-ROI 8 0 64 48 0 0", "NG", "Bad index"},
                      RefusalCase{"PTM-TW640", "AREA-GAIN 3 1 64 48 0 0", "NG", "Missing argument"},
                      RefusalCase{"PTM-TW640", "MULTI-ROI 0 1 64 48 0 0 5", "NG", "Too many arguments"},
                      RefusalCase{"PTM-TW640", "AREA-EXPOSURE 0 2 64 48 0 0", "NG", "Out of range"},
                      RefusalCase{"PTM-TW640", "MULTI-ROI 0 1 0 48 0 0", "NG", "Out of range"},
                      RefusalCase{"PTM-TW640M", "AREA-GAIN-ENABLE 1", "NG", "No area enabled"},
                      RefusalCase{"PTM-TW640", "AREA-EXPOSURE-TIME 0", "NG", "Out of range"},
                      RefusalCase{"PTM-R560CL", "MULTI-ROI 0", "NG", "Unknown command"},
                      RefusalCase{"PTM-R140ML", "AVERAGE 2", "NG", "Unknown command"},
                      RefusalCase{"PTM-R560CL", "BINARIZATION 4096", "NG", "Out of range"},
                      RefusalCase{"PTM-R560CL", "LUT-FORMAT 5", "NG", "Out of range"},
                      RefusalCase{"PTM-TW640", "LINEAR-INTERPOLATION 1 4096 0", "NG", "Out of range"},
                      RefusalCase{"PTM-TW640", "LINEAR-INTERPOLATION 1 100", "NG", "Missing argument"},
                      RefusalCase{"PTM-TW640", "WIDE-LUT 17 0", "NG", "Bad index"},
                      RefusalCase{"PTM-TW640M", "WIDE-LUT 3 65536", "NG", "Out of range"},
                      RefusalCase{"PTM-R140ML", "LIBR", "NG", "Not supported"},
                      RefusalCase{"PTM-R140ML", "CR-TF-VAL 00  256", "NG", "Not supported"},
                      RefusalCase{"PTM-R290CL", "CR-TF-VAL 00  8192", "NG", "Out of range"}));
