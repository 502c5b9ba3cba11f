// Long operations: polls with pauses on the connection's clock, window events
// running during the pauses, and the ways such an operation ends.

#include "LongOperation.h"
#include "Link.h"
#include "PageTesting.h"

#include <QPointer>
#include <QPushButton>

namespace {

class LongOperationTest : public PageTest {
protected:
    QObject owner;
    EventsDuringPauses events;
};

TEST_F(LongOperationTest, PollsWithPausesUntilTheCameraReportsTheEnd)
{
    int polls = 0;
    camera->onLine = [&](const QByteArray& line) {
        if (line == "SHADING-DETECTION")
            camera->set("SHADING-DETECTION", ++polls < 3 ? 1 : 0);
    };
    QList<int> passes;
    const qint64 start = clock.nowUs();

    LongOperation operation(connection, &owner);
    const auto outcome = operation.pollUntil(
        "SHADING-DETECTION", {.pauseMs = 1000, .beforePause = [&](int pass) { passes << pass; }});

    EXPECT_EQ(outcome, LongOperation::Outcome::Finished);
    EXPECT_EQ(sent(), (QByteArrayList{"SHADING-DETECTION", "SHADING-DETECTION", "SHADING-DETECTION"}));
    EXPECT_EQ(passes, (QList<int>{0, 1, 2}));
    EXPECT_GE(clock.nowUs() - start, 3000000);
    EXPECT_LT(clock.nowUs() - start, 3500000);
    // Events ran all through the pauses, not once per poll only.
    EXPECT_GE(events.runs, 3 * 1000 / LongOperation::kSliceMs);
}

TEST_F(LongOperationTest, GivesUpAfterTheLastAllowedPoll)
{
    camera->set("DEFECT-DETECTION", 1);
    LongOperation operation(connection, &owner);

    const auto outcome = operation.pollUntil("DEFECT-DETECTION", {.pauseMs = 1000, .maxPolls = 60});

    EXPECT_EQ(outcome, LongOperation::Outcome::GaveUp);
    EXPECT_EQ(sent().size(), 60);
    EXPECT_EQ(operation.lastValue(), 1);
}

TEST_F(LongOperationTest, TheFirstPauseMayDifferFromTheOthers)
{
    camera->set("SHADING-DETECTION", 0);
    const qint64 start = clock.nowUs();
    LongOperation operation(connection, &owner);

    operation.pollUntil("SHADING-DETECTION", {.firstPauseMs = 100, .pauseMs = 2000});

    EXPECT_LT(clock.nowUs() - start, 1000000);
}

TEST_F(LongOperationTest, AUsersCommandRunsBetweenPollsWhilePeriodicPollsWait)
{
    camera->set("SHADING-DETECTION", 1);
    QPushButton button(QStringLiteral("Correction"));
    // A user action waits its turn, which comes between two polls.
    QObject::connect(&button, &QPushButton::clicked,
                     [&] { sendPath.whenIdle([&] { sendPath.command("SHADING-CORRECTION 0"); }); });
    int ticks = 0;
    PollingTimer polling(connection, [&] { ++ticks; }, nullptr);
    bool clicked = false;
    events.onRun = [&] {
        if (sent().size() == 1 && !clicked) {
            clicked = true;
            button.click();
            camera->set("SHADING-DETECTION", 0);
        }
        polling.tick();
    };

    LongOperation operation(connection, &owner);
    operation.pollUntil("SHADING-DETECTION", {.pauseMs = 1000});

    EXPECT_EQ(sent(), (QByteArrayList{"SHADING-DETECTION", "SHADING-CORRECTION 0", "SHADING-DETECTION"}));
    EXPECT_EQ(ticks, 0);
}

TEST_F(LongOperationTest, EndsAtOnceWhenItsPageIsDestroyedMeanwhile)
{
    camera->set("SHADING-DETECTION", 1);
    auto* page = new QObject;
    events.onRun = [&] {
        if (sent().size() == 2)
            delete page;
    };

    LongOperation operation(connection, page);
    const auto outcome = operation.pollUntil("SHADING-DETECTION", {.pauseMs = 1000});

    EXPECT_EQ(outcome, LongOperation::Outcome::PageGone);
    EXPECT_EQ(sent().size(), 2);
    EXPECT_FALSE(operation.ownerAlive());
}

TEST_F(LongOperationTest, EndsAtItsNextPollWhenItsPanelClosesOrTheApplicationClosesButNotWhenItsTabIsLeft)
{
    struct Case {
        const char* what;
        std::function<void(QWidget& panel, QWidget& page)> act;
        LongOperation::Outcome outcome;
        int polls;
    };
    Connection otherConnection(clock);
    const QList<Case> cases = {
        {"tab left",
         [this](QWidget&, QWidget& page) {
             page.hide();
             camera->set("SHADING-DETECTION", 0);
         },
         LongOperation::Outcome::Finished, 3},
        {"panel closed", [](QWidget& panel, QWidget&) { panel.hide(); }, LongOperation::Outcome::Ended, 2},
        {"panel closed after the tab was left",
         [](QWidget& panel, QWidget& page) {
             page.hide();
             panel.hide();
         },
         LongOperation::Outcome::Ended, 2},
        {"application closing", [this](QWidget&, QWidget&) { LongOperation::endAll(connection); },
         LongOperation::Outcome::Ended, 2},
    };
    for (const Case& c : cases) {
        camera->forgetLines();
        camera->set("SHADING-DETECTION", 1);
        QWidget panel;
        auto* page = new QWidget(&panel);
        panel.show();
        bool acted = false;
        events.onRun = [&] {
            // Another connection's close concerns other operations only.
            LongOperation::endAll(otherConnection);
            if (sent().size() == 2 && !acted) {
                acted = true;
                c.act(panel, *page);
            }
        };
        LongOperation operation(connection, page);
        EXPECT_EQ(operation.pollUntil("SHADING-DETECTION", {.pauseMs = 1000}), c.outcome) << c.what;
        EXPECT_EQ(sent().size(), c.polls) << c.what;
        EXPECT_TRUE(operation.ownerAlive());
        if (c.outcome == LongOperation::Outcome::Ended) {
            EXPECT_FALSE(operation.pause(10)) << c.what;
        }
    }
}

TEST_F(LongOperationTest, TheButtonThatStartedItShowsProgressAndComesBackAsItWas)
{
    auto* button = new QPushButton(QStringLiteral("PeakMode"));
    {
        RunningButton running(button);
        EXPECT_FALSE(button->isEnabled());
        running.showProgress(running.caption() + "(1)");
        EXPECT_EQ(button->text(), QStringLiteral("PeakMode(1)"));
    }
    EXPECT_TRUE(button->isEnabled());
    EXPECT_EQ(button->text(), QStringLiteral("PeakMode"));

    // A button destroyed meanwhile is left alone.
    QPointer<QPushButton> gone(button);
    {
        RunningButton running(button);
        delete button;
        running.showProgress(QStringLiteral("PeakMode(2)"));
    }
    EXPECT_TRUE(gone.isNull());
}

TEST_F(LongOperationTest, WithoutATestRunnerQtsPendingEventsRun)
{
    setPendingEventsRunner(nullptr); // the application's own runner
    bool ran = false;
    QMetaObject::invokeMethod(&owner, [&] { ran = true; }, Qt::QueuedConnection);

    LongOperation operation(connection, &owner);
    EXPECT_TRUE(operation.pause(100));

    EXPECT_TRUE(ran);
}

} // namespace
