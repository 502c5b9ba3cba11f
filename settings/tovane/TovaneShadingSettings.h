#pragma once

#include "Catalogue.h"

// The "Shading" page of a Tovane camera: shading detection in peak or
// average mode, detected patterns stored in and loaded from numbered slots,
// the correction and the pattern check.
class TovaneShadingSettings : public PageSettings {
    Q_OBJECT
public:
    TovaneShadingSettings(Connection& connection, const QString& title, const CatalogueContext& context);

    // Storing a pattern in the camera's memory takes a while.
    static constexpr double kSaveTimeoutSeconds = 30.0;

    // Only its HELP range is read: the slots are 0 to its max.
    Setting* patternSlots = nullptr;
    Setting* patternCheck = nullptr;
    Setting* correction = nullptr;
    const CameraCommand* detection = nullptr;
    const CameraCommand* savePattern = nullptr;
    const CameraCommand* loadPattern = nullptr;
};
