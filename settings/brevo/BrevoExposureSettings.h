#pragma once

#include "Catalogue.h"

// The "Exposure" page of a Brevo camera: exposure time and auto exposure, the
// trigger (mode, source, delay, polarity, control, exposure mode, inhibit,
// shift, trigger range and its limits), the software trigger and the special
// trigger that captures a number of frames in bulk or in sequence.
class BrevoExposureSettings : public PageSettings {
    Q_OBJECT
public:
    BrevoExposureSettings(Connection& connection, const QString& title, const CatalogueContext& context);

    Setting* autoExposure = nullptr;
    Setting* exposureTime = nullptr;
    Setting* triggerDelay = nullptr;
    Setting* triggerMode = nullptr;
    Setting* triggerPolarity = nullptr;
    Setting* triggerControl = nullptr;
    Setting* triggerSource = nullptr;
    // 0 edge, 1 pulse width: how the software trigger fires.
    Setting* exposureMode = nullptr;
    Setting* triggerInhibit = nullptr;
    Setting* triggerShift = nullptr;
    Setting* triggerRange = nullptr;
    Setting* lowerLimit = nullptr;
    Setting* upperLimit = nullptr;
    Setting* specialMode = nullptr;
    Setting* specialSource = nullptr;
    Setting* frameCount = nullptr;
    Setting* specialPolarity = nullptr;
    const CameraCommand* softTrigger = nullptr;
};
