#pragma once

#include "ControlPanel.h"

// "Feature Control Brevo": the panel of the first camera family, with a
// "Close" button at the top right that hides it.
class CControlPanelPTM_Brevo : public ControlPanel {
    Q_OBJECT
public:
    CControlPanelPTM_Brevo(SendPath& sendPath, const QString& model, int sensorTaps,
                           const QList<PageEntry>& pages, const PanelLoadObserver& observeLoad = {},
                           QWidget* parent = nullptr, PanelLoad load = PanelLoad::AllAtOnce);
};
