#pragma once

#include <QString>

#include <functional>

// Plain OK message boxes with fixed texts. The link and the pages only say
// what to show; the application installs a handler that shows a message box,
// tests install one that records the text, so no modal box ever blocks a test.
using MessageHandler = std::function<void(const QString& text)>;

void showMessage(const QString& text);

// Installs a handler and returns the previous one. The default writes the text
// to standard error.
MessageHandler setMessageHandler(MessageHandler handler);
