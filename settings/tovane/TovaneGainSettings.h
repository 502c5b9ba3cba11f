#pragma once

#include "Catalogue.h"

#include <array>

// The "Gain" page of a Tovane camera: gain and black level, exposure time,
// automatic exposure and gain with their area, the trigger, the special
// (multi-frame) trigger and the 3 x 3 spatial filter.
//
// GAIN-FINE counts tenths of a decibel; GAIN and AGC-LOWER whole decibels.
class TovaneGainSettings : public PageSettings {
    Q_OBJECT
public:
    TovaneGainSettings(Connection& connection, const QString& title, const CatalogueContext& context);

    // The filter kernel's coefficients are 14-bit signed values.
    static constexpr int kCoefficientMin = -8192;
    static constexpr int kCoefficientMax = 8191;

    Setting* gainFine = nullptr;
    Setting* blackLevel = nullptr;
    Setting* exposureSpeed = nullptr;
    Setting* gainSpeed = nullptr;
    Setting* triggerDelay = nullptr;
    Setting* exposureMode = nullptr;
    Setting* exposureAuto = nullptr;
    Setting* gainAuto = nullptr;
    Setting* exposureTime = nullptr;
    // Whole decibels of the gain GAIN-FINE holds in tenths; files keep GAIN-FINE.
    Setting* gain = nullptr;
    Setting* gainAutoLevel = nullptr;
    Setting* triggerMode = nullptr;
    Setting* triggerPolarity = nullptr;
    Setting* triggerInhibit = nullptr;
    Setting* triggerRange = nullptr;
    Setting* triggerRangeLowerLimit = nullptr;
    Setting* gainUpper = nullptr;
    Setting* gainLower = nullptr;
    Setting* exposureUpper = nullptr;
    Setting* exposureLower = nullptr;
    Setting* triggerSource = nullptr;
    Setting* specialMode = nullptr;
    Setting* specialSource = nullptr;
    Setting* frameCount = nullptr;
    Setting* specialPolarity = nullptr;
    Setting* areaWidth = nullptr;
    Setting* areaHeight = nullptr;
    Setting* areaOffsetX = nullptr;
    Setting* areaOffsetY = nullptr;
    Setting* filterEnable = nullptr;
    std::array<Setting*, 9> coefficients{}; // row-major: 00, 01, 02, 10, ... 22
    Setting* areaHighlight = nullptr;
    const CameraCommand* softTrigger = nullptr;
};
