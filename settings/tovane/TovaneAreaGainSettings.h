#pragma once

#include "Catalogue.h"

#include <array>

// The "AreaGain" page of a Tovane camera: sixteen areas of the image, each
// with its own gain and enable flag, and the switch for area gain as a whole.
class TovaneAreaGainSettings : public PageSettings {
    Q_OBJECT
public:
    TovaneAreaGainSettings(Connection& connection, const QString& title, const CatalogueContext& context);

    static constexpr int kAreas = 16;

    Setting* enableAll = nullptr;
    // "AREA-GAIN <n>": enable, width, height, left, top, gain.
    std::array<Setting*, kAreas> areas{};
};
