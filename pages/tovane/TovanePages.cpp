#include "TovanePages.h"

#include "TovaneDefectPage.h"
#include "TovaneGainPage.h"
#include "TovaneGeneralPage.h"
#include "TovaneShadingPage.h"

QList<PageEntry> tovanePages()
{
    return {
        pageEntry<CTovaneGeneralPage>(QStringLiteral("General")),
        pageEntry<CTovaneGainPage>(QStringLiteral("Gain")),
        pageEntry<CTovaneShadingPage>(QStringLiteral("Shading")),
        pageEntry<CTovaneDefectPage>(QStringLiteral("Defect")),
    };
}
