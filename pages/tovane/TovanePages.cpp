#include "TovanePages.h"

#include "TovaneGPIOPage.h"
#include "TovaneColorPage.h"
#include "TovaneGainPage.h"
#include "TovaneGeneralPage.h"

QList<PageEntry> tovanePages()
{
    return {
        pageEntry<CTovaneGeneralPage>(QStringLiteral("General")),
        pageEntry<CTovaneGainPage>(QStringLiteral("Gain")),
        pageEntry<CTovaneGPIOPage>(QStringLiteral("GPIO")),
        pageEntry<CTovaneColorPage>(QStringLiteral("Color")),
    };
}
