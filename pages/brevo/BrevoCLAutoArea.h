#pragma once

#include "Page.h"
#include "brevo/BrevoAutoAreaSettings.h"

#include <array>

class AreaSketch;
class QCheckBox;
class QGridLayout;
class QGroupBox;
class QLineEdit;
class QSlider;

// The "AutoArea" tab of the Brevo panel: the detection areas that automatic
// exposure and gain (AE/AGC) and automatic white balance (AWB) measure, each
// of which the camera can highlight in its video, and the limits and speeds
// of AGC and AE. A camera without white balance shows its area as "N/A",
// greyed out. Each area is sketched to scale within the image (the width
// and height on the General page), following the values as they change.
class CBrevoCLAutoArea : public Page {
    Q_OBJECT
public:
    using Settings = BrevoAutoAreaSettings;

    explicit CBrevoCLAutoArea(PageContext context, QWidget* parent = nullptr);

    // Both speed sliders run from 1 to 256.
    static constexpr int kSpeedMin = 1;
    static constexpr int kSpeedMax = 256;

private:
    struct Area {
        QCheckBox* highlight = nullptr;
        std::array<QLineEdit*, Settings::kSideCount> edits{};
        AreaSketch* sketch = nullptr;
    };
    struct Limits {
        QLineEdit* lower = nullptr;
        QLineEdit* upper = nullptr;
        QSlider* speed = nullptr;
    };

    QGroupBox* buildArea(const QString& title, const char* name, Area& area);
    void addLimitRows(QGridLayout* box, int row, const char* name, Limits& limits);
    void bindArea(const Settings::Area& settings, Area& area);
    void sketchArea(const Settings::Area& settings, Area& area);
    void bindLimits(const Settings::Limits& settings, Limits& limits);

    Area m_agcArea;
    Area m_awbArea;
    Limits m_agcLimits;
    Limits m_aeLimits;
};
