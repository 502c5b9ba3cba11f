#include "TovaneAreaGainSettings.h"

#include "CommandWords.h"

// The switch, then the areas, area 0 first.
TovaneAreaGainSettings::TovaneAreaGainSettings(Connection& connection, const QString& title, const CatalogueContext&)
    : PageSettings(connection, title)
{
    enableAll = &number(cmd::AREA_GAIN_ENABLE, QStringLiteral("AreaGain Enable All"));
    // Areas are applied before the switch: the camera takes it only once an
    // area is enabled.
    for (int area = 0; area < kAreas; ++area) {
        areas[area] = &numbers(cmd::AREA_GAIN, QStringLiteral("Area %1").arg(area), "%d %d %d %d %d %d", 6)
                           .indexed(QByteArray::number(area))
                           .appliedFirst();
    }
}
