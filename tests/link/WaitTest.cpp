// Waits end the moment the answer is complete, hold their bounds when the
// camera says nothing, keep the window alive, and end on Cancel.
#include "Link.h"
#include "LinkFixture.h"
#include "Ports.h"

#include <functional>

namespace {

struct WaitCase {
    const char* what;
    std::function<void(Connection&)> run;
    // The wait when the camera does not answer at all.
    double silentMinSeconds;
    double silentMaxSeconds;
};

const std::vector<WaitCase> kWaits = {
    {"TryQueryInt", [](Connection& c) { int v = 0; TryQueryInt(c, "TEMPERATURE", v); }, 10.0, 11.0},
    {"QueryText", [](Connection& c) { QueryText(c, "MODEL"); }, 10.0, 11.0},
    {"QueryInt", [](Connection& c) { QueryInt(c, "GAIN"); }, 10.0, 11.0},
    {"Transact", [](Connection& c) { Transact(c, "GAIN 5", 1.0); }, 1.0, 2.0},
    {"detection", [](Connection& c) { DetectBaudRate(c); }, 27.0, 27.1},
};

} // namespace

using Waits = LinkFixture;

TEST_F(Waits, EndWithTheAnswerAndHoldTheirBoundsForASilentCamera)
{
    for (const WaitCase& c : kWaits) {
        camera->responder = [](const QByteArray& line) { return line.isEmpty() ? QByteArray("\r") : line + "\r7\rOK\r"; };
        camera->replyDelayMs = 3;
        qint64 start = clock.nowUs();
        c.run(connection);
        EXPECT_LT(secondsSince(start), 0.0035) << c.what;

        camera->responder = {};
        start = clock.nowUs();
        c.run(connection);
        EXPECT_GE(secondsSince(start), c.silentMinSeconds) << c.what;
        EXPECT_LE(secondsSince(start), c.silentMaxSeconds) << c.what;
    }
}

TEST_F(Waits, KeepTheWindowAliveNameWhatTheyWaitForAndEndOnCancel)
{
    camera->responder = [](const QByteArray& line) { return line + "\rOK\r"; };
    camera->replyDelayMs = 2500;
    const struct {
        const char* what;
        std::function<void()> run;
        QString waitingFor;
        bool cancels; // Cancel ends it after 0.6 s
    } cases[] = {
        {"Transact", [this] { EXPECT_EQ(TransactOutcome(connection, "GAIN 5", 5.0), SetOutcome::NoAnswer); },
         "the answer to \"GAIN 5\"", true},
        {"a pause the camera needs", [this] { connection.pauseMs(700); }, "the camera to settle", false},
    };
    for (const auto& c : cases) {
        const qint64 start = clock.nowUs();
        qint64 last = start;
        qint64 longestGap = 0;
        QString seen;
        connection.setWaitPump([&] {
            longestGap = qMax(longestGap, clock.nowUs() - last);
            last = clock.nowUs();
            seen = connection.waitingFor();
            EXPECT_TRUE(connection.isBusy()) << c.what;
            if (clock.nowUs() - start >= 600000)
                connection.cancelWait();
        });
        c.run();
        EXPECT_LE(longestGap, 100000) << c.what;
        EXPECT_EQ(seen, c.waitingFor) << c.what;
        EXPECT_NEAR(secondsSince(start), c.cancels ? 0.6 : 0.7, 0.06) << c.what;
        EXPECT_TRUE(connection.waitingFor().isEmpty()) << c.what;
    }
}
