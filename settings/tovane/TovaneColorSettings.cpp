#include "TovaneColorSettings.h"

#include "CommandWords.h"

// The rectangle's ranges are asked for once, by the first load ("Refresh"
// reads the values only); then every value, each one a camera may lack.
TovaneColorSettings::TovaneColorSettings(Connection& connection, const QString& title, const CatalogueContext&)
    : PageSettings(connection, title)
{
    area[Width] = &declare(cmd::AWB_WIDTH, QStringLiteral("Width"), Setting::Form::OptionalNumber);
    area[Height] = &declare(cmd::AWB_HEIGHT, QStringLiteral("Height"), Setting::Form::OptionalNumber);
    area[OffsetX] = &declare(cmd::AWB_OFFSETX, QStringLiteral("OffsetX"), Setting::Form::OptionalNumber);
    area[OffsetY] = &declare(cmd::AWB_OFFSETY, QStringLiteral("OffsetY"), Setting::Form::OptionalNumber);
    step([this] {
        if (m_rangesRead)
            return;
        m_rangesRead = true;
        for (Setting* side : area)
            readRange(*side);
    });

    balanceMode = &optionalNumber(cmd::AWB, QStringLiteral("AutoWhiteBalance"));
    gains[Red] = &optionalNumber(cmd::RGAIN_FINE, QStringLiteral("RGain"));
    gains[Green] = &optionalNumber(cmd::GGAIN_FINE, QStringLiteral("GGain"));
    gains[Blue] = &optionalNumber(cmd::BGAIN_FINE, QStringLiteral("BGain"));
    areaHighlight = &optionalNumber(cmd::AWB_FRAME_HIGHLIGHT, QStringLiteral("AWB Detect Area HighLight"));
    for (Setting* side : area)
        readAt(*side);
}
