#pragma once

#include "Page.h"

#include <QList>

// The tabs of the Brevo control panel, in tab order.
QList<PageEntry> brevoPages();
