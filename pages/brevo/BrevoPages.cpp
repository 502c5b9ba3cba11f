#include "BrevoPages.h"

#include "BrevoCLGainPage.h"
#include "BrevoCLGeneralPage.h"

QList<PageEntry> brevoPages()
{
    return {
        pageEntry<CBrevoCLGeneralPage>(QStringLiteral("General")),
        pageEntry<CBrevoCLGainPage>(QStringLiteral("Gain")),
    };
}
