#include "TovanePages.h"

#include "TovaneAreaExposurePage.h"
#include "TovaneAreaGainPage.h"
#include "TovaneFrameBufferPage.h"
#include "TovaneGainPage.h"
#include "TovaneGeneralPage.h"
#include "TovaneMultiROIPage.h"

QList<PageEntry> tovanePages()
{
    return {
        pageEntry<CTovaneGeneralPage>(QStringLiteral("General")),
        pageEntry<CTovaneGainPage>(QStringLiteral("Gain")),
        pageEntry<CTovaneAreaGainPage>(QStringLiteral("AreaGain")),
        pageEntry<CTovaneAreaExposurePage>(QStringLiteral("AreaExposure")),
        pageEntry<CTovaneMultiROIPage>(QStringLiteral("MultiROI")),
        pageEntry<CTovaneFrameBufferPage>(QStringLiteral("FrameBuffer")),
    };
}
