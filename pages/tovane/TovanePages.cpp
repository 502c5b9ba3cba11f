#include "TovanePages.h"

#include "TovaneAreaExposurePage.h"
#include "TovaneAreaGainPage.h"
#include "TovaneColorPage.h"
#include "TovaneDefectPage.h"
#include "TovaneFrameBufferPage.h"
#include "TovaneGPIOPage.h"
#include "TovaneGainPage.h"
#include "TovaneGeneralPage.h"
#include "TovaneLUTPage.h"
#include "TovaneMultiROIPage.h"
#include "TovaneShadingPage.h"

QList<PageEntry> tovanePages()
{
    return {
        pageEntry<CTovaneGeneralPage>(QStringLiteral("General")),
        pageEntry<CTovaneGainPage>(QStringLiteral("Gain")),
        pageEntry<CTovaneColorPage>(QStringLiteral("Color")),
        pageEntry<CTovaneLUTPage>(QStringLiteral("LUT")),
        pageEntry<CTovaneGPIOPage>(QStringLiteral("GPIO")),
        pageEntry<CTovaneShadingPage>(QStringLiteral("Shading")),
        pageEntry<CTovaneDefectPage>(QStringLiteral("Defect")),
        pageEntry<CTovaneAreaGainPage>(QStringLiteral("AreaGain")),
        pageEntry<CTovaneAreaExposurePage>(QStringLiteral("AreaExposure")),
        pageEntry<CTovaneMultiROIPage>(QStringLiteral("MultiROI")),
        pageEntry<CTovaneFrameBufferPage>(QStringLiteral("FrameBuffer")),
    };
}
