#pragma once

#include "Page.h"

#include <QList>

// The tabs of the Tovane control panel, in tab order.
QList<PageEntry> tovanePages();
