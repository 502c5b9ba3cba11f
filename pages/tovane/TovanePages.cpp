#include "TovanePages.h"

QList<PageEntry> tovanePages()
{
    return {};
}
