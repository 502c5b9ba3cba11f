#include "QtPrinters.h"
#include "WindowPlacement.h"

#include <gtest/gtest.h>

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
        {"the terminal in the bottom left corner", frameInCorner(QSize(700, 418), kArea, AreaCorner::BottomLeft),
         {menus}, QRect(0, 350, 700, 418)},
        {"the wire log in the bottom right corner, over the terminal's title bar",
         frameInCorner(QSize(700, 400), kArea, AreaCorner::BottomRight), {menus, terminalTitle},
         QRect(666, 372, 700, 396)},
        {"below two title bars in a row", QRect(0, 100, 500, 300),
         {titleBarOf(QRect(0, 90, 600, 400), kFrame), titleBarOf(QRect(0, 112, 600, 400), kFrame)},
         QRect(0, 134, 500, 300)},
        {"too tall for the room below", QRect(0, 0, 800, 744), {menus}, QRect(0, 72, 800, 696)},
    };
    for (const auto& c : cases) {
        const QRect placed = placedClearOf(c.wanted, kArea, c.keepInSight);
        EXPECT_EQ(placed, c.expected) << c.what;
        EXPECT_TRUE(kArea.contains(placed)) << c.what;
        for (const QRect& kept : c.keepInSight)
            EXPECT_FALSE(placed.intersects(kept)) << c.what;
    }
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
