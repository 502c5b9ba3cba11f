#include "BrevoPages.h"

#include "BrevoCLExposurePage.h"
#include "BrevoCLGainPage.h"
#include "BrevoCLGeneralPage.h"
#include "BrevoCLShadingPage.h"

QList<PageEntry> brevoPages()
{
    return {
        pageEntry<CBrevoCLGeneralPage>(QStringLiteral("General")),
        pageEntry<CBrevoCLGainPage>(QStringLiteral("Gain")),
        pageEntry<CBrevoCLExposurePage>(QStringLiteral("Exposure")),
        pageEntry<CBrevoCLShadingPage>(QStringLiteral("Shading")),
    };
}
