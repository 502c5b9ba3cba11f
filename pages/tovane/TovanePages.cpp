#include "TovanePages.h"

#include "TovaneGainPage.h"
#include "TovaneGeneralPage.h"
#include "TovaneLUTPage.h"

QList<PageEntry> tovanePages()
{
    return {
        pageEntry<CTovaneGeneralPage>(QStringLiteral("General")),
        pageEntry<CTovaneGainPage>(QStringLiteral("Gain")),
        pageEntry<CTovaneLUTPage>(QStringLiteral("LUT")),
    };
}
