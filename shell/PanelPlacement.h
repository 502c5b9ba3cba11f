#pragma once

#include <QPoint>
#include <QRect>

// Where "&Control" puts the Tovane panel: beside the main window, 10 pixels
// to the right of it and level with its top, unless the panel would then
// reach past the screen's right edge; then flush with that edge. Rectangles
// are frame rectangles; "right" is the first pixel column past the window.
inline QPoint placeBesideMainWindow(const QRect& mainFrame, int panelWidth, int screenRight)
{
    const int mainRight = mainFrame.x() + mainFrame.width();
    const int x = mainRight + panelWidth + 10 > screenRight ? screenRight - panelWidth : mainRight + 10;
    return {x, mainFrame.y()};
}
