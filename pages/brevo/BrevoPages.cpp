#include "BrevoPages.h"

QList<PageEntry> brevoPages()
{
    return {};
}
