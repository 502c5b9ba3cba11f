#pragma once

// The camera's own words for its last refusal, for the controls that show
// them in a label beside themselves as well as on the status line:
//
//   explainRefusals(bind().radios(m_averaging, *s.averaging), m_averagingReason);
//
// The send path asks the camera why (GET-LAST-ERROR) as soon as it refuses a
// line and reads the setting back, so the control shows the camera's value
// again; the label only repeats the reason.

#include "Display.h"

#include <QString>

class QWidget;

// Declares on a binding that its refusals are explained in label: the label
// is emptied before every send, so it never shows an old refusal after a
// success, and shows the camera's reason when the camera refuses.
template <class Binding>
Binding& explainRefusals(Binding& binding, QWidget* label)
{
    return binding.before([label](int) { showText(label, QString()); })
        .onRefused([label](const QString& reason) { showText(label, reason); });
}
