#pragma once

#include "Page.h"

#include <array>

class EditBinding;
class QCheckBox;
class QGridLayout;
class QGroupBox;
class QLineEdit;
class QSlider;
class SliderBinding;

// The "AutoArea" tab of the Brevo panel: the detection areas that automatic
// exposure and gain (AE/AGC) and automatic white balance (AWB) measure, each
// of which the camera can highlight in its video, and the limits and speeds
// of AGC and AE. A camera without white balance shows its area as "N/A",
// greyed out.
class CBrevoCLAutoArea : public Page {
    Q_OBJECT
public:
    explicit CBrevoCLAutoArea(PageContext context, QWidget* parent = nullptr);

    // Both speed sliders run from 1 to 256.
    static constexpr int kSpeedMin = 1;
    static constexpr int kSpeedMax = 256;

    // The sides of a detection area, in the order the edits are laid out:
    // offset X and width along the top of the area, offset Y and height down
    // its left side.
    enum Side { OffsetX, Width, OffsetY, Height, SideCount };

    // The command words of one detection area.
    struct AreaWords {
        const char* name; // "AE/AGC" or "AWB"
        const char* highlight;
        std::array<const char*, SideCount> sides;
    };

    // The command words of the limits and the speed of AGC or AE.
    struct LimitWords {
        const char* name; // "AGC" or "AE"
        const char* lower;
        const char* upper;
        const char* speed;
    };

private:
    struct Area {
        QCheckBox* highlight = nullptr;
        std::array<QLineEdit*, SideCount> edits{};
        std::array<EditBinding*, SideCount> bindings{};
    };
    struct Limits {
        QLineEdit* lower = nullptr;
        QLineEdit* upper = nullptr;
        QSlider* speed = nullptr;
        SliderBinding* speedBinding = nullptr;
    };

    QGroupBox* buildArea(const QString& title, const AreaWords& words, Area& area);
    void addLimitRows(QGridLayout* box, int row, const LimitWords& words, Limits& limits);
    void bindArea(const AreaWords& words, Area& area);
    void bindLimits(const LimitWords& words, Limits& limits);
    void declareLoad();

    Area m_agcArea;
    Area m_awbArea;
    Limits m_agcLimits;
    Limits m_aeLimits;
};
