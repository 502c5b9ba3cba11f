#pragma once

#include "Catalogue.h"

#include <array>

// The "AreaExposure" page of a Tovane camera: sixteen areas of the image
// exposed for their own time, each with an enable flag, the switch for area
// exposure as a whole, the normal exposure time and the one inside the
// enabled areas.
class TovaneAreaExposureSettings : public PageSettings {
    Q_OBJECT
public:
    TovaneAreaExposureSettings(Connection& connection, const QString& title, const CatalogueContext& context);

    static constexpr int kAreas = 16;

    Setting* enableAll = nullptr;
    // "AREA-EXPOSURE <n>": enable, width, height, left, top.
    std::array<Setting*, kAreas> areas{};
    Setting* exposureTime = nullptr;
    Setting* areaExposureTime = nullptr;
};
