#include "BrevoPages.h"

#include "BrevoCLAutoArea.h"
// #include "BrevoCLDSPPage.h"  // not yet converted
#include "BrevoCLExposurePage.h"
// #include "BrevoCLGPIOPage.h"  // not yet converted
#include "BrevoCLGainPage.h"
#include "BrevoCLGeneralPage.h"
#include "BrevoCLShadingPage.h"

QList<PageEntry> brevoPages()
{
    return {
        pageEntry<CBrevoCLGeneralPage>(QStringLiteral("General")),
        pageEntry<CBrevoCLGainPage>(QStringLiteral("Gain")),
        pageEntry<CBrevoCLExposurePage>(QStringLiteral("Exposure")),
        // pageEntry<CBrevoCLDSPPage>(QStringLiteral("DSP")),  // not yet converted
        // pageEntry<CBrevoCLGPIOPage>(QStringLiteral("GPIO")),  // not yet converted
        pageEntry<CBrevoCLAutoArea>(QStringLiteral("AutoArea")),
        pageEntry<CBrevoCLShadingPage>(QStringLiteral("Shading")),
    };
}
