#include "Answer.h"
#include "Link.h"
#include "Scan.h"

#include <gtest/gtest.h>

#include <climits>

TEST(ClassifyAnswer, OnlyWholeLinesAfterTheEchoDecide)
{
    struct Case {
        const char* text;
        AnswerEnd expected;
    };
    const Case cases[] = {
        {"GAIN 12\rOK\r", AnswerEnd::Accepted},
        {"GAIN 12\rOK", AnswerEnd::Pending},         // the line is not ended yet
        {"GAIN 12\r", AnswerEnd::Pending},
        {"GAIN 99999\rNG\r", AnswerEnd::Refused},
        {"GAIN x\rERROR: bad value\r", AnswerEnd::Refused},
        {"TRIGGER-RANGE 1\rOK\r", AnswerEnd::Accepted}, // the echo holds "NG"
        {"TRIGGER-RANGE 1\r", AnswerEnd::Pending},
        {"LOOKUP 1\r", AnswerEnd::Pending},          // the echo holds "OK"
        {"OK\r", AnswerEnd::Pending},                // a command "OK" echoed
        {"OK\rOK\r", AnswerEnd::Accepted},
        {"MODEL\rPTM-TW640 NG-FREE\rOK\r", AnswerEnd::Accepted},
        {"MODEL\rPTM-TW640\r\nOK\r\n", AnswerEnd::Pending}, // line feeds make "\nOK"
        {"\r\rGAIN\r\r12\rOK\r", AnswerEnd::Accepted},      // empty lines do not count
    };
    for (const Case& c : cases)
        EXPECT_EQ(classifyAnswer(c.text), c.expected) << c.text;
}

TEST(ClassifyAnswer, AnAnswerCutAtAnyByteIsPendingUntilItsLastByte)
{
    const QByteArray answer = "TRIGGER-RANGE-LOWERLIMIT 3\r12\rOK\r";
    for (qsizetype cut = 0; cut < answer.size(); ++cut)
        EXPECT_EQ(classifyAnswer(answer.left(cut)), AnswerEnd::Pending) << cut;
    EXPECT_EQ(classifyAnswer(answer), AnswerEnd::Accepted);
}

TEST(SplitTokens, RunsOfDelimitersCountAsOneAndTheArrayIsAppendedTo)
{
    QByteArrayList lines{"kept"};
    SplitTokens("\r\rfirst\r\rsecond", "\r", lines);
    EXPECT_EQ(lines, (QByteArrayList{"kept", "first", "second"}));

    QByteArrayList none;
    SplitTokens("\r\r\r", "\r", none);
    EXPECT_TRUE(none.isEmpty());
}

TEST(EchoMatches, TheEchoMayBeShorterButNeverDifferent)
{
    EXPECT_TRUE(echoMatches("GAIN 12", "GAIN 12"));
    EXPECT_TRUE(echoMatches("GAIN", "GAIN 12"));
    EXPECT_FALSE(echoMatches("GAIN 12 3", "GAIN 12"));
    EXPECT_FALSE(echoMatches("GAIM", "GAIN 12"));
}

TEST(ScanDecimal, ReadsSignedDecimalAndClampsInsteadOfWrapping)
{
    struct Case {
        const char* text;
        int expected;
    };
    const Case cases[] = {
        {"12", 12},
        {"  -7", -7},
        {"+5", 5},
        {"42abc", 42},
        {"abc", 0},
        {"", 0},
        {"-", 0},
        {"2147483647", INT_MAX},
        {"2147483648", INT_MAX},
        {"99999999999999999999999", INT_MAX},
        {"-2147483648", INT_MIN},
        {"-99999999999999999999999", INT_MIN},
    };
    for (const Case& c : cases)
        EXPECT_EQ(readDecimal(QString::fromLatin1(c.text)), c.expected) << c.text;
}

TEST(ScanInts, FollowsTheFormatAndStopsAtTheFirstMismatch)
{
    int min = -1, max = -1, step = -1;
    EXPECT_EQ(scanInts(" min:-35, max:480, step:1", " min:%d, max:%d, step:%d", {&min, &max, &step}), 3);
    EXPECT_EQ(min, -35);
    EXPECT_EQ(max, 480);
    EXPECT_EQ(step, 1);

    int a = 0, b = 0;
    EXPECT_EQ(scanInts("10 20", "%d %d", {&a, &b}), 2);
    EXPECT_EQ(b, 20);
    EXPECT_EQ(scanInts("10,x", "%d,%d", {&a, &b}), 1);
}

TEST(SetLine, PutsOneBlankBetweenWordAndValue)
{
    EXPECT_EQ(setLine("GAIN-FINE", 12), "GAIN-FINE 12");
    EXPECT_EQ(setLine("GAIN", -3), "GAIN -3");
    // Words that end in a blank of their own put two blanks on the wire.
    EXPECT_EQ(setLine("SP-TRG-MODE ", 1), "SP-TRG-MODE  1");
}

TEST(AnswerCollector, DropsEarlierAnswersAndKeepsWhatFollowsWhereverTheInputIsCut)
{
    struct Case {
        const char* arrived;
        const char* own; // what is left as the command's own answer
        AnswerEnd end;
        const char* surplus = ""; // what came after it, for the next reader
    };
    const Case cases[] = {
        {"GAIN\r12\rOK\r", "GAIN\r12\rOK\r", AnswerEnd::Accepted},
        {"OK\rGAIN\r12\rOK\r", "GAIN\r12\rOK\r", AnswerEnd::Accepted},          // a late terminal line
        {"7\rOK\rGAIN\r12\rOK\r", "GAIN\r12\rOK\r", AnswerEnd::Accepted},       // a late value and OK
        {"EXP 5\rNG\rGAIN\r12\rOK\r", "GAIN\r12\rOK\r", AnswerEnd::Accepted},   // a whole late refusal
        {"PTM-R560CL\rOK\rVERSION\r1.0\rOK\rGAIN\rNG\r", "GAIN\rNG\r", AnswerEnd::Refused},
        {"\r\rGAIN\r12\rOK\r", "GAIN\r12\rOK\r", AnswerEnd::Accepted},         // empty lines
        {"GAIM\r12\rOK\r", "", AnswerEnd::Pending},                            // never its own
        {"GAIN\r12\rOK\r\r", "GAIN\r12\rOK\r", AnswerEnd::Accepted, "\r"},       // a second carriage return's echo
        {"GAIN\rNG\rOK\rMODEL\r", "GAIN\rNG\r", AnswerEnd::Refused, "OK\rMODEL\r"},
    };
    for (const Case& c : cases) {
        const QByteArray arrived = c.arrived;
        for (qsizetype cut = 0; cut <= arrived.size(); ++cut) {
            AnswerCollector collector("GAIN");
            collector.add(arrived.left(cut));
            collector.add(arrived.mid(cut));
            EXPECT_EQ(collector.answer(), c.own) << c.arrived << " cut at " << cut;
            EXPECT_EQ(collector.end(), c.end) << c.arrived << " cut at " << cut;
            EXPECT_EQ(collector.takeSurplus(), c.surplus) << c.arrived << " cut at " << cut;
        }
    }
}

// The wait for an answer sleeps for the bytes still to come, so the count
// must never exceed what the shortest answer still has to carry, and is
// unknown (0) whenever the input is not the start of the command's echo.
TEST(AnswerCollector, NeverCountsMoreBytesToComeThanTheShortestAnswerHolds)
{
    const QByteArray shortest = "GAIN 12\rOK\r";
    for (qsizetype cut = 1; cut < shortest.size(); ++cut) {
        AnswerCollector collector("GAIN 12");
        collector.add(shortest.left(cut));
        // Right after the echo's end the camera may take its time.
        EXPECT_EQ(collector.bytesStillToCome(), cut == 8 ? 0 : shortest.size() - cut) << cut;
    }
    struct Case {
        const char* arrived;
        qsizetype stillToCome;
    };
    const Case cases[] = {
        {"", 0},             // nothing yet: the camera may take its time
        {"GAIM", 0},         // not this command's echo
        {"GAIN 12\r", 0},    // the echo is complete; the camera may take its time
        {"GAIN 12\r\n1", 4}, // a value line begun: its end, then a terminal line
        {"GAIN 12\rN", 2},   // perhaps "NG"
        {"OK\rGA", 9},       // an earlier answer's end dropped, then the echo
        {"\rGAIN", 7},       // an empty line before the echo
    };
    for (const Case& c : cases) {
        AnswerCollector collector("GAIN 12");
        collector.add(c.arrived);
        EXPECT_EQ(collector.bytesStillToCome(), c.stillToCome) << c.arrived;
    }
}

TEST(OwedAnswers, MatchesTerminalLinesToTheLinesInOrderWhereverTheInputIsCut)
{
    const QByteArray arrived = "GAIN-FINE 5\rOK\rGAIN-FINE 999\rNG\rGAIN-FINE 7\rOK\rNEXT\r";
    const qsizetype owedBytes = arrived.indexOf("NEXT");
    for (qsizetype cut = 0; cut <= arrived.size(); ++cut) {
        OwedAnswers owed;
        QByteArrayList refused;
        for (const QByteArray line : {"GAIN-FINE 5", "GAIN-FINE 999", "GAIN-FINE 7"})
            owed.expect(line, [&refused, line] { refused.append(line); });
        const OwedAnswers::Taken first = owed.take(arrived.left(cut));
        const OwedAnswers::Taken second = owed.take(arrived.mid(cut));
        for (const auto& handler : first.refusals)
            handler();
        for (const auto& handler : second.refusals)
            handler();
        EXPECT_TRUE(owed.isEmpty()) << cut;
        EXPECT_EQ(refused, QByteArrayList{"GAIN-FINE 999"}) << cut;
        EXPECT_EQ(first.used + second.used, qMin(cut, owedBytes) + qMax<qsizetype>(0, owedBytes - cut)) << cut;
    }
}
