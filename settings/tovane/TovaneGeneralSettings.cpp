#include "TovaneGeneralSettings.h"

#include "CommandWords.h"

// In the order the camera is read. Every value the page shows is read here,
// so nothing is read after this order.
TovaneGeneralSettings::TovaneGeneralSettings(Connection& connection, const QString& title, const CatalogueContext&)
    : PageSettings(connection, title)
{
    vendor = &text(cmd::VENDOR, QStringLiteral("Vendor")).readOnly();
    model = &text(cmd::MODEL, QStringLiteral("Model")).readOnly();
    serialNumber = &text(cmd::ID, QStringLiteral("SerialNumber")).readOnly();
    version = &text(cmd::VERSION, QStringLiteral("Version")).readOnly();
    manufacturer = &text(cmd::MANUFACTURER, QStringLiteral("ManufacturerInfo")).readOnly();
    userDefinedName = &text(cmd::USER_ID, QStringLiteral("UserDefinedName")).readOnly();
    width = &number(cmd::WIDTH, QStringLiteral("Width")).readOnly();
    height = &number(cmd::HEIGHT, QStringLiteral("Height")).readOnly();
    offsetX = &number(cmd::OFFSETX, QStringLiteral("OffsetX"));
    offsetY = &number(cmd::OFFSETY, QStringLiteral("OffsetY"));
    reverseX = &number(cmd::REVERSEX, QStringLiteral("ImageReverseX"));
    reverseY = &number(cmd::REVERSEY, QStringLiteral("ImageReverseY"));
    baseClock = &number(cmd::BASE_CLOCK, QStringLiteral("Base Clock Frequency")).readOnly();
    cameraLinkTaps = &number(cmd::CAMERALINK_TAP, QStringLiteral("CameraLink Taps(1/2/3/4/8/10)"));
    frameRate = &number(cmd::FRAMERATE, QStringLiteral("Frame Rate"));
    actualFrameRate = &number(cmd::FRAMERATE_ACTUAL, QStringLiteral("Actual Frame rate")).readOnly();
    frameRateAuto = &number(cmd::FRAMERATE_AUTO, QStringLiteral("FRATE-AUTO"));
    temperature = &number(cmd::TEMPERATURE, QStringLiteral("Temperature")).readOnly();
    usersetDefault = &number(cmd::USERSET_DEFAULT, QStringLiteral("Userset Default")).readOnly();
    // Binning rescales the image, so a file applies it before the offsets.
    hBinning = &optionalNumber(cmd::HBIN, QStringLiteral("H Binning")).appliedFirst();
    vBinning = &optionalNumber(cmd::VBIN, QStringLiteral("V Binning")).appliedFirst();
    testChart = &number(cmd::TESTCHART, QStringLiteral("TestChart"));
    powerStatus = &text(cmd::POWER_STATUS, QStringLiteral("PowerStatus")).readOnly();
    pixelDepth = &number(cmd::PIXEL_DEPTH, QStringLiteral("PixelDepth"));
    baudRate = &number(cmd::BAUDRATE, QStringLiteral("Normal(Need reboot)")).notSaved();
    temporaryBaudRate = &number(cmd::BAUDRATE_TMP, QStringLiteral("Temporarily(immediate)")).readOnly();
    expandedBaudRate = &number(cmd::BAUDRATE_SAVE, QStringLiteral("Expanded(Need reboot)")).readOnly();

    usersetLoad = &command(cmd::USERSET_LOAD, QStringLiteral("Load"));
    usersetSave = &command(cmd::USERSET_SAVE, QStringLiteral("Save"));
    reboot = &command(cmd::RESET, QStringLiteral("Reboot"));
}
