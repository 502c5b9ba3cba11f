#include "BrevoCatalogue.h"

#include "BrevoAutoAreaSettings.h"
#include "BrevoExposureSettings.h"
#include "BrevoGainSettings.h"
#include "BrevoGeneralSettings.h"
#include "BrevoShadingSettings.h"

std::unique_ptr<Catalogue> brevoCatalogue(Connection& connection, CatalogueContext context)
{
    return std::make_unique<Catalogue>(connection, context, QStringLiteral("Brevo"),
                                       std::vector<Catalogue::PageFactory>{
                                           pageSettings<BrevoGeneralSettings>(QStringLiteral("General")),
                                           pageSettings<BrevoGainSettings>(QStringLiteral("Gain")),
                                           pageSettings<BrevoExposureSettings>(QStringLiteral("Exposure")),
                                           // DSP and GPIO come here, in tab order.
                                           pageSettings<BrevoAutoAreaSettings>(QStringLiteral("AutoArea")),
                                           pageSettings<BrevoShadingSettings>(QStringLiteral("Shading")),
                                       });
}
