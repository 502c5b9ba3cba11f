#include "BrevoCatalogue.h"

#include "BrevoDSPSettings.h"
#include "common/GpioSettings.h"

std::unique_ptr<Catalogue> brevoCatalogue(Connection& connection, CatalogueContext context)
{
    return std::make_unique<Catalogue>(connection, context, QStringLiteral("Brevo"),
                                       std::vector<Catalogue::PageFactory>{
                                           pageSettings<BrevoDSPSettings>(QStringLiteral("DSP")),
                                           pageSettings<BrevoGpioSettings>(QStringLiteral("GPIO")),
                                       });
}
