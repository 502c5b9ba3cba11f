#pragma once

// A label beside a control that repeats, in the camera's own words, why the
// camera refused the control's setting:
//
//   explainRefusals(*s.enableAll, m_enableAllError);
//
// The send path handles the refusal as it handles every other one: it asks
// GET-LAST-ERROR, reads the setting back and names the line and the reason
// on the status line. The label shows that reason beside the control until
// the camera takes a later line of the setting (or leaves one unanswered),
// so it never shows an old refusal after a success.

class QWidget;
class Setting;

void explainRefusals(const Setting& setting, QWidget* label);
