#pragma once

#include "Messages.h"

#include <QString>

#include <memory>

class QMessageBox;
class QWidget;

// The box a message is shown in: an information icon for what went well, a
// warning icon otherwise; the title says what happened; a file path in the
// text is kept whole on one line, so that a narrow box never breaks it in
// the middle of a name.
std::unique_ptr<QMessageBox> makeMessageBox(const Message& message, QWidget* parent = nullptr);

// The box's text as rich text: the message escaped, line breaks kept, the
// path unbreakable.
QString messageBoxText(const Message& message);
