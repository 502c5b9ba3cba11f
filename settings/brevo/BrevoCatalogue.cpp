#include "BrevoCatalogue.h"

#include "BrevoAutoAreaSettings.h"
#include "BrevoDSPSettings.h"
#include "BrevoExposureSettings.h"
#include "BrevoGainSettings.h"
#include "BrevoGeneralSettings.h"
#include "BrevoShadingSettings.h"
#include "common/GpioSettings.h"

std::unique_ptr<Catalogue> brevoCatalogue(Connection& connection, CatalogueContext context)
{
    auto catalogue = std::make_unique<Catalogue>(connection, context, QStringLiteral("Brevo"),
                                       std::vector<Catalogue::PageFactory>{
                                           pageSettings<BrevoGeneralSettings>(QStringLiteral("General")),
                                           pageSettings<BrevoGainSettings>(QStringLiteral("Gain")),
                                           pageSettings<BrevoExposureSettings>(QStringLiteral("Exposure")),
                                           pageSettings<BrevoDSPSettings>(QStringLiteral("DSP")),
                                           pageSettings<BrevoGpioSettings>(QStringLiteral("GPIO")),
                                           pageSettings<BrevoAutoAreaSettings>(QStringLiteral("AutoArea")),
                                           pageSettings<BrevoShadingSettings>(QStringLiteral("Shading")),
                                       });
    // The areas are drawn within the image the General page reads.
    auto* general = static_cast<BrevoGeneralSettings*>(catalogue->page(QStringLiteral("General")));
    auto* areas = static_cast<BrevoAutoAreaSettings*>(catalogue->page(QStringLiteral("AutoArea")));
    areas->imageWidth = general->width;
    areas->imageHeight = general->height;
    return catalogue;
}
