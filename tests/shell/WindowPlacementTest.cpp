#include "WindowPlacement.h"

#include <gtest/gtest.h>

#include <ostream>

// Failures print rectangles as x,y wxh (found by argument-dependent lookup,
// hence global).
static std::ostream& operator<<(std::ostream& out, const QRect& r)
{
    return out << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
}

namespace {

// A 1366 x 768 screen with a 24-pixel bar at the top, and window frames with
// a 22-pixel title bar and 1-pixel borders.
const QRect kArea(0, 24, 1366, 744);
const QMargins kFrame(1, 22, 1, 1);

} // namespace

TEST(WindowPlacement, AWindowGoesBelowTheMenusAndTitleBarsItWouldCoverAndIsShortenedToFit)
{
    const QRect menus(0, 24, 920, 22 + 26); // the main window's title bar and menu bar
    const QRect terminalTitle = titleBarOf(QRect(0, 350, 700, 418), kFrame);
    const struct {
        const char* what;
        QRect wanted;
        QList<QRect> keepInSight;
        QRect expected;
    } cases[] = {
        {"clear already", QRect(0, 400, 300, 200), {menus}, QRect(0, 400, 300, 200)},
        {"the Brevo panel at the top left", QRect(0, 0, 830, 505), {menus}, QRect(0, 72, 830, 505)},
        {"beside the menus", QRect(930, 0, 400, 300), {menus}, QRect(930, 24, 400, 300)},
        {"the wire log over the terminal's title bar", QRect(660, 368, 700, 400), {menus, terminalTitle},
         QRect(660, 372, 700, 396)},
        {"below two title bars in a row", QRect(0, 100, 500, 300),
         {titleBarOf(QRect(0, 90, 600, 400), kFrame), titleBarOf(QRect(0, 112, 600, 400), kFrame)},
         QRect(0, 134, 500, 300)},
        {"too tall for the room below", QRect(0, 0, 800, 744), {menus}, QRect(0, 72, 800, 696)},
        {"an empty title bar keeps nothing", QRect(0, 100, 300, 200), {titleBarOf(QRect(0, 90, 600, 400), {})},
         QRect(0, 100, 300, 200)},
    };
    for (const auto& c : cases) {
        const QRect placed = placedClearOf(c.wanted, kArea, c.keepInSight);
        EXPECT_EQ(placed, c.expected) << c.what;
        EXPECT_TRUE(kArea.contains(placed)) << c.what;
        for (const QRect& kept : c.keepInSight)
            EXPECT_FALSE(placed.intersects(kept)) << c.what;
    }
}

TEST(WindowPlacement, TheTerminalAndTheWireLogOpenInTheBottomCornersWithEveryTitleBarInSight)
{
    // As on a 1366 x 768 screen: the main window's menus at the top, the
    // Brevo panel below them, then the terminal and the wire log, each kept
    // clear of the title bars already there.
    const QRect menus(0, 24, 920, 22 + 26);
    const QRect panel = placedClearOf(QRect(0, 0, 830, 505), kArea, {menus});
    const QList<QRect> forTerminal{menus, titleBarOf(panel, kFrame)};
    const QRect terminal = placedClearOf(frameInCorner(QSize(700, 418), kArea, AreaCorner::BottomLeft), kArea,
                                         forTerminal);
    const QRect wireLog = placedClearOf(frameInCorner(QSize(700, 400), kArea, AreaCorner::BottomRight), kArea,
                                        forTerminal + QList<QRect>{titleBarOf(terminal, kFrame)});
    EXPECT_EQ(terminal, QRect(0, 350, 700, 418));
    EXPECT_EQ(wireLog.topLeft(), QPoint(666, 372));
    for (const QRect& window : {panel, terminal, wireLog}) {
        EXPECT_TRUE(kArea.contains(window)) << window;
        EXPECT_FALSE(window.intersects(menus)) << window;
    }
    EXPECT_FALSE(wireLog.intersects(titleBarOf(terminal, kFrame)));
    EXPECT_FALSE(titleBarOf(wireLog, kFrame).intersects(titleBarOf(terminal, kFrame)));
}

TEST(WindowPlacement, ControlPlacesTheTovanePanelBesideTheMainWindowOrFlushRight)
{
    const struct {
        QRect main;
        int panelWidth, screenRight;
        QPoint expected;
    } cases[] = {
        {QRect(200, 30, 800, 50), 800, 1920, QPoint(1010, 30)},
        {QRect(700, 30, 800, 50), 800, 1920, QPoint(1120, 30)},
        {QRect(0, 0, 1100, 50), 800, 1920, QPoint(1110, 0)}, // reaching the edge exactly still fits
        {QRect(0, 0, 1200, 50), 800, 1920, QPoint(1120, 0)},
        {QRect(1500, 0, 300, 50), 500, 3840, QPoint(1810, 0)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(placeBesideMainWindow(c.main, c.panelWidth, c.screenRight), c.expected) << c.main.x();
}
