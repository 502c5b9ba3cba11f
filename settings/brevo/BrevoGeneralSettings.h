#pragma once

#include "Catalogue.h"

// The "General" page of a Brevo camera: identity and temperature, region of
// interest, frame rate, user sets, serial speed, LED mode, test chart, pixel
// format and binning, sensor and Camera Link taps, the white-defect check and
// the VSUB adjustment.
//
// FRAMERATE and FRAMERATE-ACTUAL count millionths of a frame per second.
class BrevoGeneralSettings : public PageSettings {
    Q_OBJECT
public:
    BrevoGeneralSettings(Connection& connection, const QString& title, const CatalogueContext& context);

    Setting* vendor = nullptr;
    Setting* model = nullptr;
    Setting* id = nullptr;
    Setting* version = nullptr;
    Setting* manufacturer = nullptr;
    Setting* userId = nullptr;
    Setting* width = nullptr;
    Setting* height = nullptr;
    Setting* offsetX = nullptr;
    Setting* offsetY = nullptr;
    Setting* frameRate = nullptr;
    Setting* actualFrameRate = nullptr;
    Setting* frameRateAuto = nullptr;
    Setting* temperature = nullptr;
    Setting* usersetDefault = nullptr;
    Setting* hBinning = nullptr;
    Setting* vBinning = nullptr;
    Setting* baudRate = nullptr;
    Setting* testChart = nullptr;
    Setting* sensorTap = nullptr;
    Setting* cameraLinkTap = nullptr;
    Setting* ledMode = nullptr;
    Setting* pixelDepth = nullptr;
    Setting* vsubMode = nullptr;
    Setting* vsub = nullptr;
    Setting* defectCorrection = nullptr;

    // What the defect check changes for a while: the camera's exposure and
    // gain, kept by the Exposure and Gain pages (files leave them out here).
    Setting* checkExposure = nullptr;
    Setting* checkGain = nullptr;

    const CameraCommand* clearUserId = nullptr;
    const CameraCommand* usersetLoad = nullptr;
    const CameraCommand* usersetSave = nullptr;
    const CameraCommand* reset = nullptr;
    const CameraCommand* factoryDefault = nullptr;
    const CameraCommand* defectPatternSelector = nullptr;
};
