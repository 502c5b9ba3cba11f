#include "BrevoPages.h"

#include "BrevoCLExposurePage.h"
#include "BrevoCLGeneralPage.h"

QList<PageEntry> brevoPages()
{
    return {
        pageEntry<CBrevoCLGeneralPage>(QStringLiteral("General")),
        pageEntry<CBrevoCLExposurePage>(QStringLiteral("Exposure")),
    };
}
