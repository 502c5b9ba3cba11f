#include "TovaneAreaExposureSettings.h"

#include "CommandWords.h"

// The switch, the areas (area 0 first), then the two times.
TovaneAreaExposureSettings::TovaneAreaExposureSettings(Connection& connection, const QString& title,
                                                       const CatalogueContext&)
    : PageSettings(connection, title)
{
    enableAll = &number(cmd::AREA_EXPOSURE_ENABLE, QStringLiteral("AreaExposure Enable All"));
    enableAll->reasonAfterChecks();
    // Areas are applied before the switch: the camera takes it only once an
    // area is enabled.
    for (int area = 0; area < kAreas; ++area) {
        areas[area] = &numbers(cmd::AREA_EXPOSURE, QStringLiteral("Area %1").arg(area), "%d %d %d %d %d", 5)
                           .indexed(QByteArray::number(area))
                           .appliedFirst();
    }
    exposureTime = &number(cmd::EXP, QStringLiteral("Normal Exposure Time"));
    areaExposureTime = &number(cmd::AREA_EXPOSURE_TIME, QStringLiteral("Exposure Time for selected area"));
}
