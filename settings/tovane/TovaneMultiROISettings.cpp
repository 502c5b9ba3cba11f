#include "TovaneMultiROISettings.h"

#include "CommandWords.h"

// Both switches, then the regions, region 0 first.
TovaneMultiROISettings::TovaneMultiROISettings(Connection& connection, const QString& title, const CatalogueContext&)
    : PageSettings(connection, title)
{
    enableAll = &number(cmd::MULTI_ROI_ENABLE, QStringLiteral("MultiROI Enable All"));
    enableAll->reasonAfterChecks();
    highlight = &number(cmd::MULTI_ROI_AREA_HIGHLIGHT, QStringLiteral("Highlight Selected Area"));
    // Regions are applied before the switch: the camera takes it only once a
    // region is enabled.
    for (int region = 0; region < kRegions; ++region) {
        regions[region] = &numbers(cmd::MULTI_ROI, QStringLiteral("ROI %1").arg(region), "%d %d %d %d %d", 5)
                               .indexed(QByteArray::number(region))
                               .appliedFirst();
    }
    // Switching multi-ROI on or off may change the highlighting.
    enableAll->followedBy({highlight});
}
