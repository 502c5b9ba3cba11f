#pragma once

// The camera's own words for its last refusal, for the controls that show
// them in a label beside themselves:
//
//   explainRefusals(bind().check(m_enableAll, cmd::AREA_EXPOSURE_ENABLE), connection(), m_error,
//                   [this] { m_enableAll->setChecked(false); });

#include "Display.h"

#include <functional>

class Connection;
class QWidget;

// How long the camera needs after a refusal before GET-LAST-ERROR tells why.
inline constexpr int kLastErrorDelayMs = 500;

// Pauses kLastErrorDelayMs on the connection's clock, asks GET-LAST-ERROR and
// shows its value line in target: empty text when the query fails.
void showLastError(Connection& connection, QWidget* target);

// Declares on a binding that its refusals are explained in label: the label
// is emptied before every send, so it never shows an old refusal after a
// success; when the camera refuses, undo runs first (if given), then the
// label shows the camera's last error.
template <class Binding>
Binding& explainRefusals(Binding& binding, Connection& connection, QWidget* label, std::function<void()> undo = {})
{
    return binding.before([label](int) { showText(label, QString()); })
        .onRefused([&connection, label, undo = std::move(undo)](int) {
            if (undo)
                undo();
            showLastError(connection, label);
        });
}
