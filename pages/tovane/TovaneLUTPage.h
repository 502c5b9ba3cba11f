#pragma once

#include "Page.h"
#include "tovane/TovaneLUTSettings.h"

#include <array>

class CellGrid;
class QLineEdit;
class QPushButton;
class RadioGroup;

// The "LUT" tab of the Tovane panel: the look-up-table format and the
// parameters of three formats: the binarization threshold, the five points
// of the linear-interpolation curve with "Build", and the seventeen 16-bit
// points of the wide LUT with three gamma presets.
//
// Levels of the threshold and the curve are 12-bit (0 to 4095); the wide LUT
// maps points 0 to 16 of the input range to outputs from 0 to 65535.
class CTovaneLUTPage : public Page {
    Q_OBJECT
public:
    using Settings = TovaneLUTSettings;

    explicit CTovaneLUTPage(PageContext context, QWidget* parent = nullptr);

    static constexpr int kWideLutPoints = Settings::kWideLutPoints;
    // "Gamma1", "Gamma0.7", "Gamma0.45": the outputs of points 0 to 16.
    using GammaPreset = std::array<int, kWideLutPoints>;
    static const std::array<GammaPreset, 3> kGammaPresets;

private:
    QWidget* buildLut();
    void declareBindings();

    // Fills the wide-LUT points with a preset and sends all seventeen.
    void applyGamma(const GammaPreset& preset);

    RadioGroup* m_format;
    QLineEdit* m_threshold;
    CellGrid* m_points;
    QPushButton* m_build;
    CellGrid* m_wideLut;
    std::array<QPushButton*, 3> m_gamma{};
};
