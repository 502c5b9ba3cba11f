#include "BrevoGeneralSettings.h"

#include "CommandWords.h"

// In the order the camera is read; the LED modes' choice list comes right
// before the mode, which picks one of them by its position.
BrevoGeneralSettings::BrevoGeneralSettings(Connection& connection, const QString& title, const CatalogueContext&)
    : PageSettings(connection, title)
{
    vendor = &text(cmd::VENDOR, QStringLiteral("Vendor")).readOnly();
    model = &text(cmd::MODEL, QStringLiteral("Model")).readOnly();
    id = &text(cmd::ID, QStringLiteral("ID")).readOnly();
    version = &text(cmd::VERSION, QStringLiteral("Version")).readOnly();
    manufacturer = &text(cmd::MANUFACTURER, QStringLiteral("ManufacturerInfo=")).readOnly();
    userId = &text(cmd::USER_ID, QStringLiteral("User-ID"));
    width = &number(cmd::WIDTH, QStringLiteral("Width"));
    height = &number(cmd::HEIGHT, QStringLiteral("Height"));
    offsetX = &number(cmd::OFFSETX, QStringLiteral("OffsetX"));
    offsetY = &number(cmd::OFFSETY, QStringLiteral("OffsetY"));
    frameRate = &number(cmd::FRAMERATE, QStringLiteral("Frame Rate"));
    actualFrameRate = &number(cmd::FRAMERATE_ACTUAL, QStringLiteral("Actual Frame rate")).readOnly();
    frameRateAuto = &number(cmd::FRAMERATE_AUTO, QStringLiteral("FRATE-AUTO"));
    temperature = &number(cmd::TEMPERATURE, QStringLiteral("Temperature")).readOnly();
    usersetDefault = &number(cmd::USERSET_DEFAULT, QStringLiteral("Userset Default"));
    // Binning rescales the image, so a file applies it before the image size.
    hBinning = &optionalNumber(cmd::HBIN, QStringLiteral("H Binning")).appliedFirst();
    vBinning = &optionalNumber(cmd::VBIN, QStringLiteral("V Binning")).appliedFirst();
    // Applying a file would cut the link to the camera.
    baudRate = &number(cmd::BAUDRATE, QStringLiteral("Baudrate")).notSaved();
    testChart = &number(cmd::TESTCHART, QStringLiteral("Test Chart"));
    sensorTap = &number(cmd::SENSOR_TAP, QStringLiteral("Sensor-Tap "));
    cameraLinkTap = &number(cmd::CAMERALINK_TAP, QStringLiteral("CameraLink-Tap "));
    ledMode = &declare(cmd::LED_MODE, QStringLiteral("LED-MODE"));
    readChoicesAt(*ledMode);
    readAt(*ledMode);
    pixelDepth = &number(cmd::PIXEL_DEPTH, QStringLiteral("PixelDepth="));
    vsubMode = &number(cmd::VSUB_EXTERNAL_MODE, QStringLiteral("VSUB Adjust"));
    vsub = &number(cmd::VSUB_EXTERNAL, QStringLiteral("VSUB Adjust"));

    // Not read by the fixed order above, so read after it.
    defectCorrection = &declare(cmd::DEFECT_CORRECTION, QStringLiteral("White Defect Check"));
    readAfterLoad(*defectCorrection);

    // Read by the defect check itself when it starts, never by the load.
    checkExposure = &declare(cmd::EXP, QStringLiteral("Change Exposure/Gain: exposure")).notSaved();
    checkGain = &declare(cmd::GAIN, QStringLiteral("Change Exposure/Gain: gain")).notSaved();

    clearUserId = &command(cmd::USER_ID_DELETE, QStringLiteral("Clear"));
    // Loading a user set restarts the camera's settings; no answer is awaited.
    usersetLoad = &command(cmd::USERSET_LOAD, QStringLiteral("Load"), SendMode::line());
    usersetSave = &command(cmd::USERSET_SAVE, QStringLiteral("Save"));
    reset = &command(cmd::RESET, QStringLiteral("Reset"));
    factoryDefault = &command(cmd::FACTORY_DEFAULT, QStringLiteral("FactoryDefault"), SendMode::transact(5.0));
    defectPatternSelector = &command(cmd::DEFECT_PATTERN_SELECTOR, QStringLiteral("Change Exposure/Gain"));
}
