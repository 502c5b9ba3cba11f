#include "TovaneFrameBufferSettings.h"

#include "CommandWords.h"

// Read only when the user presses "Refresh", in this order.
TovaneFrameBufferSettings::TovaneFrameBufferSettings(Connection& connection, const QString& title,
                                                     const CatalogueContext&)
    : PageSettings(connection, title)
{
    averaging = &number(cmd::AVERAGE, QStringLiteral("Frame Averaging"));
    averaging->reasonAfterChecks();
    wideDynamicRange = &number(cmd::WIDED_ENABLE, QStringLiteral("Wide Dynamic Range"));
    wideDynamicRange->reasonAfterChecks();
    frameOperationTap = &number(cmd::FRM_OP_TAP, QStringLiteral("Frame Operation Tap"));
    waitForRefresh();
}
