#include "TovaneCatalogue.h"

#include "TovaneAreaExposureSettings.h"
#include "TovaneAreaGainSettings.h"
#include "TovaneColorSettings.h"
#include "TovaneDefectSettings.h"
#include "TovaneFrameBufferSettings.h"
#include "TovaneGainSettings.h"
#include "TovaneGeneralSettings.h"
#include "TovaneLUTSettings.h"
#include "TovaneMultiROISettings.h"
#include "TovaneShadingSettings.h"
#include "common/GpioSettings.h"

std::unique_ptr<Catalogue> tovaneCatalogue(Connection& connection, CatalogueContext context)
{
    return std::make_unique<Catalogue>(connection, context, QStringLiteral("Tovane"),
                                       std::vector<Catalogue::PageFactory>{
                                           pageSettings<TovaneGeneralSettings>(QStringLiteral("General")),
                                           pageSettings<TovaneGainSettings>(QStringLiteral("Gain")),
                                           pageSettings<TovaneColorSettings>(QStringLiteral("Color")),
                                           pageSettings<TovaneLUTSettings>(QStringLiteral("LUT")),
                                           pageSettings<TovaneGpioSettings>(QStringLiteral("GPIO")),
                                           pageSettings<TovaneShadingSettings>(QStringLiteral("Shading")),
                                           pageSettings<TovaneDefectSettings>(QStringLiteral("Defect")),
                                           pageSettings<TovaneAreaGainSettings>(QStringLiteral("AreaGain")),
                                           pageSettings<TovaneAreaExposureSettings>(QStringLiteral("AreaExposure")),
                                           pageSettings<TovaneMultiROISettings>(QStringLiteral("MultiROI")),
                                           pageSettings<TovaneFrameBufferSettings>(QStringLiteral("FrameBuffer")),
                                       });
}
