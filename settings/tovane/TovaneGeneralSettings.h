#pragma once

#include "Catalogue.h"

// The "General" page of a Tovane camera: who the camera is, the image
// geometry, the frame rate, temperature and power status, the user sets, the
// test chart, the Camera Link taps and base clock, and the serial speed.
//
// The identity, the image size, the base clock, the default user set, the
// temperature and the power status are only shown; the serial speeds are
// left out of files of settings, since applying one would cut the link.
class TovaneGeneralSettings : public PageSettings {
    Q_OBJECT
public:
    TovaneGeneralSettings(Connection& connection, const QString& title, const CatalogueContext& context);

    // FRAMERATE counts millionths of a frame per second.
    static constexpr double kMicroFramesPerFrame = 1000000.0;

    Setting* vendor = nullptr;
    Setting* model = nullptr;
    Setting* serialNumber = nullptr;
    Setting* version = nullptr;
    Setting* manufacturer = nullptr;
    Setting* userDefinedName = nullptr;
    Setting* width = nullptr;
    Setting* height = nullptr;
    Setting* offsetX = nullptr;
    Setting* offsetY = nullptr;
    Setting* reverseX = nullptr;
    Setting* reverseY = nullptr;
    // 0, 1, 2: 85, 65, 45 MHz.
    Setting* baseClock = nullptr;
    Setting* cameraLinkTaps = nullptr;
    Setting* frameRate = nullptr;
    Setting* actualFrameRate = nullptr;
    Setting* frameRateAuto = nullptr;
    Setting* temperature = nullptr;
    Setting* usersetDefault = nullptr;
    // 1 off, 2 on; a camera without binning lacks both.
    Setting* hBinning = nullptr;
    Setting* vBinning = nullptr;
    Setting* testChart = nullptr;
    Setting* powerStatus = nullptr;
    Setting* pixelDepth = nullptr;
    // The rate the camera uses from its next start, the one it uses now,
    // and the extended one for its next start.
    Setting* baudRate = nullptr;
    Setting* temporaryBaudRate = nullptr;
    Setting* expandedBaudRate = nullptr;

    const CameraCommand* usersetLoad = nullptr;
    const CameraCommand* usersetSave = nullptr;
    const CameraCommand* reboot = nullptr;
};
