#include "Link.h"
#include "LinkFixture.h"

using ExchangeLineTest = LinkFixture;

TEST_F(ExchangeLineTest, GivesTheValueLinesBetweenTheEchoAndTheTerminalLine)
{
    const struct {
        QByteArray answer;
        SetOutcome outcome;
        QByteArrayList values;
        QByteArray terminalLine;
    } cases[] = {
        {"X 1\rOK\r", SetOutcome::Accepted, {}, "OK"},
        {"X 1\r50\rOK\r", SetOutcome::Accepted, {"50"}, "OK"},
        // Choice lines keep their leading blank.
        {"X 1\r 0(Off)\r 1(On)\rOK\r", SetOutcome::Accepted, {" 0(Off)", " 1(On)"}, "OK"},
        {"X 1\rNG\r", SetOutcome::Refused, {}, "NG"},
        {"X 1\rERROR 3\r", SetOutcome::Refused, {}, "ERROR 3"},
        // What comes after the terminal line in the same read is not this answer.
        {"X 1\r50\rOK\rLATE\r", SetOutcome::Accepted, {"50"}, "OK"},
        // An answer of an earlier line comes first and is dropped.
        {"X 0\r7\rOK\rX 1\r8\rOK\r", SetOutcome::Accepted, {"8"}, "OK"},
    };
    for (const auto& c : cases) {
        camera->responder = [&](const QByteArray&) { return c.answer; };
        const LineAnswer answer = ExchangeLine(connection, "X 1", 1000);
        EXPECT_EQ(answer.outcome, c.outcome) << c.answer.constData();
        EXPECT_EQ(answer.values, c.values) << c.answer.constData();
        EXPECT_EQ(answer.terminalLine, c.terminalLine) << c.answer.constData();
    }
}

TEST_F(ExchangeLineTest, SendsTheLineExactlyAsGivenBlanksIncluded)
{
    camera->responder = [](const QByteArray& line) { return line + "\rOK\r"; };
    EXPECT_EQ(ExchangeLine(connection, " CR-TF-VAL 01  5 ", 1000).outcome, SetOutcome::Accepted);
    EXPECT_EQ(camera->received, " CR-TF-VAL 01  5 \r");
}

TEST_F(ExchangeLineTest, AnAnswerWithoutItsTerminalLineIsNoAnswerAtTheTimeOut)
{
    for (const QByteArray& partial : {QByteArray(), QByteArray("X 1\r50\r")}) {
        camera->responder = [&](const QByteArray&) { return partial; };
        const qint64 start = clock.nowUs();
        const LineAnswer answer = ExchangeLine(connection, "X 1", 700);
        EXPECT_EQ(answer.outcome, SetOutcome::NoAnswer);
        EXPECT_TRUE(answer.terminalLine.isEmpty());
        EXPECT_GE(secondsSince(start), 0.7);
        EXPECT_LT(secondsSince(start), 0.75);
    }
}
