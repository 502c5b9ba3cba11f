#include "ControlPanelTovane.h"

#include "tovane/TovaneCatalogue.h"

#include "ScreenPlacement.h"

CControlPanelTovane::CControlPanelTovane(SendPath& sendPath, const QString& model, int sensorTaps,
                                         const QList<PageEntry>& pages, const PanelLoadObserver& observeLoad,
                                         QWidget* parent, PanelLoad load)
    : ControlPanel(sendPath, model, sensorTaps, tovaneCatalogue(sendPath.connection(), {sensorTaps}), pages,
                   QSize(567, 360), observeLoad, parent, load)
{
    setWindowTitle(QStringLiteral("PTM-TW Series Control"));
}

void CControlPanelTovane::setFollower(QWidget* window)
{
    m_follower = window;
}

void CControlPanelTovane::moveEvent(QMoveEvent* event)
{
    ControlPanel::moveEvent(event);
    if (!m_follower)
        return;
    // geometry() of a top-level window is its client area on the screen;
    // the follower's frame is placed, and kept on the screen.
    const QPoint clientOrigin = geometry().topLeft();
    moveOntoScreen(m_follower, QPoint(clientOrigin.x(), clientOrigin.y() - kFollowerOffset));
    m_follower->raise();
}
