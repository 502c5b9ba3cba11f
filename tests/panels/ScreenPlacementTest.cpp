#include "ScreenPlacement.h"

#include <gtest/gtest.h>

#include <ostream>

// Failures print rectangles as x,y wxh (found by argument-dependent lookup,
// hence global).
static std::ostream& operator<<(std::ostream& out, const QRect& r)
{
    return out << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
}

namespace {

// A small screen whose available area does not start at 0,0: a 30-pixel bar
// at the top and a 40-pixel dock on the left of an 800 x 600 screen.
const QRect kSmall(40, 30, 760, 570);
// The same size at 0,0, and a second screen to the right of a first.
const QRect kPlain(0, 0, 800, 600);
const QRect kLeft(0, 0, 1920, 1050);
const QRect kRight(1920, 0, 1280, 1024);

} // namespace

TEST(ScreenPlacement, AWindowIsPulledIntoTheAvailableAreaAndShrunkWhereItIsLarger)
{
    const struct {
        const char* what;
        QRect frame, area;
        int roomAbove;
        QRect expected;
    } cases[] = {
        {"inside stays put", QRect(100, 100, 300, 200), kSmall, 0, QRect(100, 100, 300, 200)},
        {"the strip 35 above the top", QRect(0, -35, 600, 50), kSmall, 0, QRect(40, 30, 600, 50)},
        {"pushed up by \"&Control\"", QRect(300, -85, 400, 50), kSmall, 0, QRect(300, 30, 400, 50)},
        {"under the top bar", QRect(40, 10, 300, 200), kSmall, 0, QRect(40, 30, 300, 200)},
        {"past the right and bottom", QRect(700, 500, 300, 200), kSmall, 0, QRect(500, 400, 300, 200)},
        {"left of the dock", QRect(-500, 100, 300, 200), kSmall, 0, QRect(40, 100, 300, 200)},
        {"wider than the area", QRect(200, 100, 990, 200), kSmall, 0, QRect(40, 100, 760, 200)},
        {"taller than the area", QRect(100, 100, 300, 700), kSmall, 0, QRect(100, 30, 300, 570)},
        {"at 0,0 on a plain screen", QRect(0, 0, 300, 200), kPlain, 0, QRect(0, 0, 300, 200)},
        // Room for the follower 85 above: the panel comes down far enough.
        {"room above at the top", QRect(0, 50, 600, 400), kSmall, 85, QRect(40, 115, 600, 400)},
        {"room above already there", QRect(100, 200, 600, 300), kSmall, 85, QRect(100, 200, 600, 300)},
        {"room above, then too tall", QRect(100, 50, 600, 560), kSmall, 85, QRect(100, 115, 600, 485)},
        {"no room needed", QRect(100, 30, 600, 300), kSmall, -10, QRect(100, 30, 600, 300)},
        {"no area: unchanged", QRect(-50, -50, 300, 200), QRect(), 85, QRect(-50, -50, 300, 200)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fittedIntoArea(c.frame, c.area, c.roomAbove), c.expected) << c.what;
}

TEST(ScreenPlacement, AWindowBelongsOnTheScreenNearestToItsCentre)
{
    const QList<QRect> two = {kLeft, kRight};
    const struct {
        const char* what;
        QRect frame;
        QList<QRect> areas;
        QRect expected;
    } cases[] = {
        {"centre on the first", QRect(100, 100, 400, 300), two, kLeft},
        {"centre on the second", QRect(1800, 100, 400, 300), two, kRight},
        {"above the second", QRect(2400, -300, 400, 100), two, kRight},
        {"below the shorter second, nearer the first", QRect(1700, 1030, 400, 100), two, kLeft},
        {"far left of both", QRect(-3000, 500, 400, 300), two, kLeft},
        {"one screen", QRect(5000, 5000, 10, 10), {kSmall}, kSmall},
        {"no screen", QRect(0, 0, 10, 10), {}, QRect()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(areaForFrame(c.frame, c.areas), c.expected) << c.what;
}
