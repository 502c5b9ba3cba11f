#include "BrevoPages.h"

// #include "BrevoCLAutoArea.h"  // not yet converted
#include "BrevoCLDSPPage.h"
// #include "BrevoCLExposurePage.h"  // not yet converted
#include "BrevoCLGPIOPage.h"
// #include "BrevoCLGainPage.h"  // not yet converted
// #include "BrevoCLGeneralPage.h"  // not yet converted
// #include "BrevoCLShadingPage.h"  // not yet converted

QList<PageEntry> brevoPages()
{
    return {
        // pageEntry<CBrevoCLGeneralPage>(QStringLiteral("General")),  // not yet converted
        // pageEntry<CBrevoCLGainPage>(QStringLiteral("Gain")),  // not yet converted
        // pageEntry<CBrevoCLExposurePage>(QStringLiteral("Exposure")),  // not yet converted
        pageEntry<CBrevoCLDSPPage>(QStringLiteral("DSP")),
        pageEntry<CBrevoCLGPIOPage>(QStringLiteral("GPIO")),
        // pageEntry<CBrevoCLAutoArea>(QStringLiteral("AutoArea")),  // not yet converted
        // pageEntry<CBrevoCLShadingPage>(QStringLiteral("Shading")),  // not yet converted
    };
}
