#pragma once

#include "common/LutSettings.h"

// The "LUT" page of a Tovane camera: the format, the threshold and the
// interpolation points every LUT page has (LutSettings), and the seventeen
// points of the wide (16-bit) LUT, which map points 0 to 16 of the input
// range to outputs from 0 to 65535.
class TovaneLUTSettings : public LutSettings {
    Q_OBJECT
public:
    TovaneLUTSettings(Connection& connection, const QString& title, const CatalogueContext& context);

    static constexpr int kWideLutPoints = 17;
    static constexpr int kMaxWideLutValue = 65535;

    std::array<Setting*, kWideLutPoints> wideLut{}; // points 0 to 16
};
