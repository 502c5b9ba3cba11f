#include "BrevoPages.h"

#include "BrevoCLAutoArea.h"
#include "BrevoCLDSPPage.h"
#include "BrevoCLExposurePage.h"
#include "BrevoCLGPIOPage.h"
#include "BrevoCLGainPage.h"
#include "BrevoCLGeneralPage.h"
#include "BrevoCLShadingPage.h"

QList<PageEntry> brevoPages()
{
    return {
        pageEntry<CBrevoCLGeneralPage>(QStringLiteral("General")),
        pageEntry<CBrevoCLGainPage>(QStringLiteral("Gain")),
        pageEntry<CBrevoCLExposurePage>(QStringLiteral("Exposure")),
        pageEntry<CBrevoCLDSPPage>(QStringLiteral("DSP")),
        pageEntry<CBrevoCLGPIOPage>(QStringLiteral("GPIO")),
        pageEntry<CBrevoCLAutoArea>(QStringLiteral("AutoArea")),
        pageEntry<CBrevoCLShadingPage>(QStringLiteral("Shading")),
    };
}
