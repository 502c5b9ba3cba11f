#include "SoftTriggerPulse.h"

#include "CommandWords.h"
#include "Link.h"
#include "LongOperation.h"
#include "Scan.h"

#include <QAbstractButton>
#include <QPointer>

#include <algorithm>

int SoftTriggerPulse::widthFrom(const QString& typed)
{
    return std::clamp(readDecimal(typed), 0, kMaxWidthMs);
}

void SoftTriggerPulse::fire(Connection& connection, QWidget* page, QAbstractButton* fireButton, int widthMs)
{
    // The connection is the main window's and outlives the page.
    QPointer<QAbstractButton> button(fireButton);
    button->setEnabled(false);
    {
        // Busy from the rising edge to the answer to the falling one: what
        // the user does meanwhile acts after the pulse, never inside it.
        Connection::BusyScope wholePulse(connection);
        {
            LongOperation pulse(connection, page);
            Transact(connection, setLine(cmd::TRG_SOFT, 1), 1.0);
            pulse.pause(std::clamp(widthMs, 0, kMaxWidthMs));
        }
        Transact(connection, setLine(cmd::TRG_SOFT, 0), 1.0);
    }
    if (button)
        button->setEnabled(true);
}
