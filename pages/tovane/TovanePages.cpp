#include "TovanePages.h"

#include "TovaneGPIOPage.h"
#include "TovaneColorPage.h"
#include "TovaneAreaExposurePage.h"
#include "TovaneAreaGainPage.h"
#include "TovaneFrameBufferPage.h"
#include "TovaneGainPage.h"
#include "TovaneGeneralPage.h"
#include "TovaneMultiROIPage.h"
#include "TovaneDefectPage.h"
#include "TovaneGainPage.h"
#include "TovaneGeneralPage.h"
#include "TovaneShadingPage.h"
#include "TovaneLUTPage.h"

QList<PageEntry> tovanePages()
{
    return {
        pageEntry<CTovaneGeneralPage>(QStringLiteral("General")),
        pageEntry<CTovaneGainPage>(QStringLiteral("Gain")),
        pageEntry<CTovaneGPIOPage>(QStringLiteral("GPIO")),
        pageEntry<CTovaneColorPage>(QStringLiteral("Color")),
        pageEntry<CTovaneAreaGainPage>(QStringLiteral("AreaGain")),
        pageEntry<CTovaneAreaExposurePage>(QStringLiteral("AreaExposure")),
        pageEntry<CTovaneMultiROIPage>(QStringLiteral("MultiROI")),
        pageEntry<CTovaneFrameBufferPage>(QStringLiteral("FrameBuffer")),
        pageEntry<CTovaneShadingPage>(QStringLiteral("Shading")),
        pageEntry<CTovaneDefectPage>(QStringLiteral("Defect")),
        pageEntry<CTovaneLUTPage>(QStringLiteral("LUT")),
    };
}
