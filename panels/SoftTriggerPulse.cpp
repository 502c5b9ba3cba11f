#include "SoftTriggerPulse.h"

#include "Connection.h"
#include "Controls.h"
#include "Display.h"
#include "PageSettings.h"
#include "SendPath.h"
#include "LongOperation.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QPointer>

#include <algorithm>

std::optional<int> SoftTriggerPulse::widthFrom(SendPath& path, QLineEdit* edit)
{
    const QString typed = edit->text();
    const std::optional<int> widthMs = readWholeNumber(typed, 0, kMaxWidthMs);
    markInvalidInput(edit, !widthMs);
    if (!widthMs)
        path.rejectInput(QStringLiteral("%1: %2; nothing sent")
                             .arg(edit->accessibleName(), whyNotWholeNumber(typed, 0, kMaxWidthMs)));
    return widthMs;
}

void SoftTriggerPulse::fire(SendPath& path, const CameraCommand& trigger, QWidget* page, QAbstractButton* fireButton,
                            int widthMs)
{
    Connection& connection = path.connection();
    // The connection is the main window's and outlives the page.
    QPointer<QAbstractButton> button(fireButton);
    button->setEnabled(false);
    {
        // Busy from the rising edge to the answer to the falling one: what
        // the user does meanwhile acts after the pulse, never inside it.
        Connection::BusyScope wholePulse(connection);
        {
            LongOperation pulse(connection, page);
            path.command(trigger.word + " 1", trigger.mode);
            pulse.pause(std::clamp(widthMs, 0, kMaxWidthMs));
        }
        path.command(trigger.word + " 0", trigger.mode);
    }
    if (button)
        button->setEnabled(true);
}
