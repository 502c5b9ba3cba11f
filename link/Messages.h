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

// Installs a handler for the lifetime of the scope and puts the previous one
// back at its end.
class ScopedMessageHandler {
public:
    explicit ScopedMessageHandler(MessageHandler handler) : m_previous(setMessageHandler(std::move(handler))) {}
    ~ScopedMessageHandler() { setMessageHandler(std::move(m_previous)); }
    ScopedMessageHandler(const ScopedMessageHandler&) = delete;
    ScopedMessageHandler& operator=(const ScopedMessageHandler&) = delete;

private:
    MessageHandler m_previous;
};
