#include "TovanePages.h"

// #include "TovaneAreaExposurePage.h"  // not yet converted
// #include "TovaneAreaGainPage.h"  // not yet converted
#include "TovaneColorPage.h"
// #include "TovaneDefectPage.h"  // not yet converted
#include "TovaneFrameBufferPage.h"
#include "TovaneGPIOPage.h"
#include "TovaneGainPage.h"
#include "TovaneGeneralPage.h"
#include "TovaneLUTPage.h"
// #include "TovaneMultiROIPage.h"  // not yet converted
// #include "TovaneShadingPage.h"  // not yet converted

QList<PageEntry> tovanePages()
{
    return {
        pageEntry<CTovaneGeneralPage>(QStringLiteral("General")),
        pageEntry<CTovaneGainPage>(QStringLiteral("Gain")),
        pageEntry<CTovaneColorPage>(QStringLiteral("Color")),
        pageEntry<CTovaneLUTPage>(QStringLiteral("LUT")),
        pageEntry<CTovaneGPIOPage>(QStringLiteral("GPIO")),
        // pageEntry<CTovaneShadingPage>(QStringLiteral("Shading")),  // not yet converted
        // pageEntry<CTovaneDefectPage>(QStringLiteral("Defect")),  // not yet converted
        // pageEntry<CTovaneAreaGainPage>(QStringLiteral("AreaGain")),  // not yet converted
        // pageEntry<CTovaneAreaExposurePage>(QStringLiteral("AreaExposure")),  // not yet converted
        // pageEntry<CTovaneMultiROIPage>(QStringLiteral("MultiROI")),  // not yet converted
        pageEntry<CTovaneFrameBufferPage>(QStringLiteral("FrameBuffer")),
    };
}
