#pragma once

#include <QString>

#include <functional>

// Plain OK message boxes. The link and the pages only say what to show; the
// application installs a handler that shows a message box, tests install one
// that records the messages, so no modal box ever blocks a test.

struct Message {
    enum class Kind { Information, Warning };

    Kind kind = Kind::Warning;
    // What happened, for the box's title ("Settings Saved").
    QString title;
    QString text;
    // A file path the text holds, shown whole on one line.
    QString path;
};

using MessageHandler = std::function<void(const Message& message)>;

void showMessage(const Message& message);
// A warning titled only by the application; prefer a title that says what happened.
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
