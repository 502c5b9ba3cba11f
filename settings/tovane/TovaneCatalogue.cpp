#include "TovaneCatalogue.h"

#include "TovaneGainSettings.h"
#include "TovaneLUTSettings.h"

std::unique_ptr<Catalogue> tovaneCatalogue(Connection& connection, CatalogueContext context)
{
    return std::make_unique<Catalogue>(connection, context, QStringLiteral("Tovane"),
                                       std::vector<Catalogue::PageFactory>{
                                           pageSettings<TovaneGainSettings>(QStringLiteral("Gain")),
                                           pageSettings<TovaneLUTSettings>(QStringLiteral("LUT")),
                                       });
}
