#pragma once

#include "ControlPanel.h"

#include <QPointer>

// "PTM-TW Series Control": the panel of the second camera family. The main
// window's menu strip travels with it: whenever the panel moves, the window
// set with setFollower is moved so that its top-left corner lies 85 pixels
// above the panel's client area, as far as the screen's available area allows.
class CControlPanelTovane : public ControlPanel {
    Q_OBJECT
public:
    static constexpr int kFollowerOffset = 85;

    CControlPanelTovane(SendPath& sendPath, const QString& model, int sensorTaps,
                        const QList<PageEntry>& pages, const PanelLoadObserver& observeLoad = {},
                        QWidget* parent = nullptr, PanelLoad load = PanelLoad::AllAtOnce);

    void setFollower(QWidget* window);

protected:
    void moveEvent(QMoveEvent* event) override;

private:
    QPointer<QWidget> m_follower;
};
