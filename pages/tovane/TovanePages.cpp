#include "TovanePages.h"

#include "TovaneColorPage.h"
#include "TovaneGainPage.h"
#include "TovaneGeneralPage.h"

QList<PageEntry> tovanePages()
{
    return {
        pageEntry<CTovaneGeneralPage>(QStringLiteral("General")),
        pageEntry<CTovaneGainPage>(QStringLiteral("Gain")),
        pageEntry<CTovaneColorPage>(QStringLiteral("Color")),
    };
}
