#pragma once

#include "Catalogue.h"

// The "Shading" page of a Brevo camera: shading correction, the pattern in
// use, the numbered slots patterns are stored in, and the detection.
class BrevoShadingSettings : public PageSettings {
    Q_OBJECT
public:
    BrevoShadingSettings(Connection& connection, const QString& title, const CatalogueContext& context);

    // Every command of the page waits this long for its answer; starting a
    // detection waits less.
    static constexpr double kTimeoutSeconds = 20.0;
    static constexpr double kDetectionStartTimeoutSeconds = 3.0;

    Setting* correction = nullptr;
    // The pattern in use: a slot, or the one after the last slot for the
    // pattern last detected.
    Setting* patternInUse = nullptr;
    // Only its HELP range is read: the highest slot.
    Setting* patternSlots = nullptr;

    const CameraCommand* savePattern = nullptr;
    const CameraCommand* detection = nullptr;
};
