// A page's own timer: its interval, ticks held back while the connection is
// busy, and its end with the page, hidden or destroyed.

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

TEST_F(PageTimerTest, DiesWithItsPage)
{
    auto* owner = new QWidget;
    QPointer<PageTimer> owned = new PageTimer(connection, owner, [] {});
    owned->start(10);
    delete owner;
    EXPECT_TRUE(owned.isNull());
}

} // namespace
