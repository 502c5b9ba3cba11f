#pragma once

#include <QList>
#include <QPoint>
#include <QRect>

class QWidget;

// Keeping windows where the user can reach them. The placement rules of the
// main window and the panels decide where a window should go; these functions
// then pull it into the available area of a screen (the screen less its task
// bars and docks). Rectangles are frame rectangles.

// Of the screens' available areas, the one a window with this frame belongs
// on: the one nearest to the frame's centre (the one holding it when there is
// one; the first of equals). An empty area when there are no screens.
QRect areaForFrame(const QRect& frame, const QList<QRect>& areas);

// The frame moved, and shrunk where it is larger, so that it lies inside the
// area. A window that has to be shrunk keeps its top-left corner in the area,
// where its title bar and menus are. An empty area leaves the frame as it is.
//
// roomAbove reserves that many pixels above the frame for a window that
// follows it (the Tovane panel's menu strip): the frame is kept far enough
// down that the follower fits inside the area too.
QRect fittedIntoArea(const QRect& frame, const QRect& area, int roomAbove = 0);

// The available areas of all screens, the primary screen's first.
QList<QRect> availableScreenAreas();

// Moves a top-level window so that its frame's top-left corner is at
// topLeft, then fits it into the available area of the screen it belongs on
// (see fittedIntoArea, also for roomAbove).
void moveOntoScreen(QWidget* window, QPoint topLeft, int roomAbove = 0);
