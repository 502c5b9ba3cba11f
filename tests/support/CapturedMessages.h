#pragma once

#include "Messages.h"

#include <QList>
#include <QStringList>

// Records the messages shown while it lives instead of showing them.
class CapturedMessages {
public:
    QStringList texts;
    QList<Message> messages;

private:
    ScopedMessageHandler m_handler{[this](const Message& message) {
        texts << message.text;
        messages << message;
    }};
};
