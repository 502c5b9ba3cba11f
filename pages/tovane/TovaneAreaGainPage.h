#pragma once

#include "Page.h"
#include "tovane/TovaneAreaGainSettings.h"

class QCheckBox;
class RegionRows;

// The "AreaGain" tab of the Tovane panel: sixteen areas of the image, each
// with its own gain and enable flag, and the switch for area gain as a whole.
class CTovaneAreaGainPage : public Page {
    Q_OBJECT
public:
    using Settings = TovaneAreaGainSettings;

    explicit CTovaneAreaGainPage(PageContext context, QWidget* parent = nullptr);

private:
    QCheckBox* m_enableAll;
    RegionRows* m_rows;
};
