#pragma once

#include "Page.h"
#include "tovane/TovaneMultiROISettings.h"

class QCheckBox;
class QLabel;
class RegionRows;

// The "MultiROI" tab of the Tovane panel: the camera's eight regions of
// interest, each with its own enable flag, the switch for multi-ROI read-out
// as a whole, and the highlighting of the selected area in the image.
class CTovaneMultiROIPage : public Page {
    Q_OBJECT
public:
    using Settings = TovaneMultiROISettings;

    explicit CTovaneMultiROIPage(PageContext context, QWidget* parent = nullptr);

private:
    QCheckBox* m_enableAll;
    QLabel* m_enableAllError; // the camera's reason when it refused "Enable All"
    RegionRows* m_rows;
    QCheckBox* m_highlight;
};
