#pragma once

#include "Catalogue.h"

#include <array>

// The "AutoArea" page of a Brevo camera: the areas that automatic exposure
// and gain (AE/AGC) and automatic white balance (AWB) measure, each of which
// the camera can highlight in its video, and the limits and speeds of AGC
// and AE. A camera without white balance refuses its area.
class BrevoAutoAreaSettings : public PageSettings {
    Q_OBJECT
public:
    BrevoAutoAreaSettings(Connection& connection, const QString& title, const CatalogueContext& context);

    // The sides of an area, in the order the page lays them out.
    enum Side { OffsetX, Width, OffsetY, Height, kSideCount };

    struct Area {
        Setting* highlight = nullptr;
        std::array<Setting*, kSideCount> sides{};
    };
    struct Limits {
        Setting* upper = nullptr;
        Setting* lower = nullptr;
        Setting* speed = nullptr;
    };

    Area gainArea;         // AE/AGC
    Area whiteBalanceArea; // AWB
    Limits gainLimits;     // AGC
    Limits exposureLimits; // AE

    // The image the areas lie in: the width and height the General page
    // reads (the catalogue links them; null where there is no such page).
    Setting* imageWidth = nullptr;
    Setting* imageHeight = nullptr;
};
