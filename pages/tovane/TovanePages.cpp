#include "TovanePages.h"

#include "TovaneGeneralPage.h"

QList<PageEntry> tovanePages()
{
    return {
        pageEntry<CTovaneGeneralPage>(QStringLiteral("General")),
    };
}
