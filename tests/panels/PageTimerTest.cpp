// A page's own timer: its interval, ticks held back while the connection is
// busy, and its end with the page (hidden or destroyed) or with its panel.

#include "PageTesting.h"
#include "Polling.h"

#include <QPointer>
#include <QSignalSpy>

namespace {

class PageTimerTest : public PageTest {
protected:
    PageTimerTest() : timer(new PageTimer(connection, &page, [this] { ++ticks; })) {}

    QWidget page;
    int ticks = 0;
    PageTimer* timer;
};

TEST_F(PageTimerTest, TicksAtItsIntervalExceptWhileTheConnectionIsBusy)
{
    timer->start(3000);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->intervalMs(), 3000);
    timer->tick();
    {
        Connection::BusyScope busy(connection);
        timer->tick();
    }
    EXPECT_EQ(ticks, 1);
}

TEST_F(PageTimerTest, StopsWhenItsPageIsHiddenAndSaysSoOnce)
{
    QSignalSpy stopped(timer, &PageTimer::stoppedWithPage);
    page.show();
    timer->start(3000);
    page.hide();
    EXPECT_FALSE(timer->isActive());
    EXPECT_EQ(stopped.count(), 1);

    // Shown again it stays stopped; hidden while stopped, it says nothing.
    page.show();
    EXPECT_FALSE(timer->isActive());
    page.hide();
    EXPECT_EQ(stopped.count(), 1);
}

TEST_F(PageTimerTest, ACycleTheUserStartedOutlivesItsTabButNotItsPanel)
{
    struct Case {
        const char* what;
        std::function<void(QWidget& panel, QWidget& page)> act;
        bool runs;
    };
    const QList<Case> cases = {
        {"tab left", [](QWidget&, QWidget& page) { page.hide(); }, true},
        {"panel closed", [](QWidget& panel, QWidget&) { panel.hide(); }, false},
        {"panel closed after its tab was left",
         [](QWidget& panel, QWidget& page) {
             page.hide();
             panel.hide();
         },
         false},
    };
    for (const Case& c : cases) {
        QWidget panel;
        auto* tab = new QWidget(&panel);
        int cycles = 0;
        auto* cycle = new PageTimer(connection, tab, [&] { ++cycles; }, PageTimer::StopsWhen::PanelClosed);
        QSignalSpy stopped(cycle, &PageTimer::stoppedWithPage);
        panel.show();
        cycle->start(3000);
        c.act(panel, *tab);
        cycle->tick();
        EXPECT_EQ(cycle->isActive(), c.runs) << c.what;
        EXPECT_EQ(cycles, c.runs ? 1 : 0) << c.what;
        EXPECT_EQ(stopped.count(), c.runs ? 0 : 1) << c.what;
    }
}

TEST_F(PageTimerTest, DiesWithItsPage)
{
    auto* owner = new QWidget;
    QPointer<PageTimer> owned = new PageTimer(connection, owner, [] {});
    owned->start(10);
    delete owner;
    EXPECT_TRUE(owned.isNull());
}

} // namespace
