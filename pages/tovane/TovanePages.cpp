#include "TovanePages.h"

#include "TovaneAreaExposurePage.h"
#include "TovaneAreaGainPage.h"
// #include "TovaneColorPage.h"  // not yet converted
#include "TovaneDefectPage.h"
// #include "TovaneFrameBufferPage.h"  // not yet converted
// #include "TovaneGPIOPage.h"  // not yet converted
#include "TovaneGainPage.h"
// #include "TovaneGeneralPage.h"  // not yet converted
// #include "TovaneLUTPage.h"  // not yet converted
#include "TovaneMultiROIPage.h"
#include "TovaneShadingPage.h"

QList<PageEntry> tovanePages()
{
    return {
        // pageEntry<CTovaneGeneralPage>(QStringLiteral("General")),  // not yet converted
        pageEntry<CTovaneGainPage>(QStringLiteral("Gain")),
        // pageEntry<CTovaneColorPage>(QStringLiteral("Color")),  // not yet converted
        // pageEntry<CTovaneLUTPage>(QStringLiteral("LUT")),  // not yet converted
        // pageEntry<CTovaneGPIOPage>(QStringLiteral("GPIO")),  // not yet converted
        pageEntry<CTovaneShadingPage>(QStringLiteral("Shading")),
        pageEntry<CTovaneDefectPage>(QStringLiteral("Defect")),
        pageEntry<CTovaneAreaGainPage>(QStringLiteral("AreaGain")),
        pageEntry<CTovaneAreaExposurePage>(QStringLiteral("AreaExposure")),
        pageEntry<CTovaneMultiROIPage>(QStringLiteral("MultiROI")),
        // pageEntry<CTovaneFrameBufferPage>(QStringLiteral("FrameBuffer")),  // not yet converted
    };
}
