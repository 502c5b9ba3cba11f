#include "ScreenPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <limits>

namespace {

// Squared distance from a point to the nearest pixel of a rectangle; 0 inside.
qint64 squaredDistance(const QPoint& point, const QRect& rect)
{
    const qint64 dx = std::max({rect.left() - point.x(), 0, point.x() - rect.right()});
    const qint64 dy = std::max({rect.top() - point.y(), 0, point.y() - rect.bottom()});
    return dx * dx + dy * dy;
}

// The start of a span of the given length kept inside [low, low + room).
int keptInside(int start, int length, int low, int room)
{
    return std::clamp(start, low, low + room - length);
}

} // namespace

QRect areaForFrame(const QRect& frame, const QList<QRect>& areas)
{
    QRect best;
    qint64 bestDistance = std::numeric_limits<qint64>::max();
    for (const QRect& area : areas) {
        const qint64 distance = squaredDistance(frame.center(), area);
        if (distance < bestDistance) {
            best = area;
            bestDistance = distance;
        }
    }
    return best;
}

QRect fittedIntoArea(const QRect& frame, const QRect& area, int roomAbove)
{
    if (area.isEmpty())
        return frame;
    // The follower keeps its place above the frame; when the area is too
    // short for both, the frame still gets at least one row.
    const int room = std::clamp(roomAbove, 0, area.height() - 1);
    const QRect inner = area.adjusted(0, room, 0, 0);
    const int width = std::min(frame.width(), inner.width());
    const int height = std::min(frame.height(), inner.height());
    return {keptInside(frame.x(), width, inner.x(), inner.width()),
            keptInside(frame.y(), height, inner.y(), inner.height()), width, height};
}

QList<QRect> availableScreenAreas()
{
    QList<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens())
        areas.append(screen->availableGeometry());
    return areas;
}

void moveOntoScreen(QWidget* window, QPoint topLeft, int roomAbove)
{
    const QRect wanted(topLeft, window->frameGeometry().size());
    const QRect fitted = fittedIntoArea(wanted, areaForFrame(wanted, availableScreenAreas()), roomAbove);
    if (fitted.size() != wanted.size())
        window->resize(window->size() - (wanted.size() - fitted.size()));
    window->move(fitted.topLeft());
}
