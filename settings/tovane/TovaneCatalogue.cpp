#include "TovaneCatalogue.h"

#include "TovaneAreaExposureSettings.h"
#include "TovaneAreaGainSettings.h"
#include "TovaneDefectSettings.h"
#include "TovaneGainSettings.h"
#include "TovaneMultiROISettings.h"
#include "TovaneShadingSettings.h"

std::unique_ptr<Catalogue> tovaneCatalogue(Connection& connection, CatalogueContext context)
{
    return std::make_unique<Catalogue>(connection, context, QStringLiteral("Tovane"),
                                       std::vector<Catalogue::PageFactory>{
                                           pageSettings<TovaneGainSettings>(QStringLiteral("Gain")),
                                           pageSettings<TovaneShadingSettings>(QStringLiteral("Shading")),
                                           pageSettings<TovaneDefectSettings>(QStringLiteral("Defect")),
                                           pageSettings<TovaneAreaGainSettings>(QStringLiteral("AreaGain")),
                                           pageSettings<TovaneAreaExposureSettings>(QStringLiteral("AreaExposure")),
                                           pageSettings<TovaneMultiROISettings>(QStringLiteral("MultiROI")),
                                       });
}
