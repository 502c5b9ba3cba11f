#include "BrevoPages.h"

#include "BrevoCLDSPPage.h"
#include "BrevoCLExposurePage.h"
#include "BrevoCLGainPage.h"
#include "BrevoCLGeneralPage.h"

QList<PageEntry> brevoPages()
{
    return {
        pageEntry<CBrevoCLGeneralPage>(QStringLiteral("General")),
        pageEntry<CBrevoCLGainPage>(QStringLiteral("Gain")),
        pageEntry<CBrevoCLExposurePage>(QStringLiteral("Exposure")),
        pageEntry<CBrevoCLDSPPage>(QStringLiteral("DSP")),
    };
}
