#pragma once

#include "Catalogue.h"

#include <array>

// The "MultiROI" page of a Tovane camera: eight regions of interest, each
// with its own enable flag, the switch for multi-ROI read-out as a whole, and
// the highlighting of the selected area in the image.
class TovaneMultiROISettings : public PageSettings {
    Q_OBJECT
public:
    TovaneMultiROISettings(Connection& connection, const QString& title, const CatalogueContext& context);

    static constexpr int kRegions = 8;

    Setting* enableAll = nullptr;
    Setting* highlight = nullptr;
    // "MULTI-ROI <n>": enable, width, height, left, top.
    std::array<Setting*, kRegions> regions{};
};
