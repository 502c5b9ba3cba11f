#include "BrevoPages.h"

#include "BrevoCLGeneralPage.h"

QList<PageEntry> brevoPages()
{
    return {
        pageEntry<CBrevoCLGeneralPage>(QStringLiteral("General")),
    };
}
