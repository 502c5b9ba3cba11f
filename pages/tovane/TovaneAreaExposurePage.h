#pragma once

#include "Page.h"
#include "tovane/TovaneAreaExposureSettings.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class RegionRows;

// The "AreaExposure" tab of the Tovane panel: sixteen areas of the image
// exposed for their own time, each with an enable flag, the switch for area
// exposure as a whole, and the two exposure times: the normal one and the one
// inside the enabled areas.
class CTovaneAreaExposurePage : public Page {
    Q_OBJECT
public:
    using Settings = TovaneAreaExposureSettings;

    explicit CTovaneAreaExposurePage(PageContext context, QWidget* parent = nullptr);

private:
    QCheckBox* m_enableAll;
    QLabel* m_enableAllError; // the camera's reason when it refused "Enable All"
    RegionRows* m_rows;
    QLineEdit* m_normalExposure;
    QLineEdit* m_areaExposure;
};
