#pragma once

#include "Messages.h"

#include <QStringList>

// Records the message-box texts shown while it lives instead of showing them.
class CapturedMessages {
public:
    CapturedMessages() { m_previous = setMessageHandler([this](const QString& text) { texts << text; }); }
    ~CapturedMessages() { setMessageHandler(m_previous); }
    CapturedMessages(const CapturedMessages&) = delete;
    CapturedMessages& operator=(const CapturedMessages&) = delete;

    QStringList texts;

private:
    MessageHandler m_previous;
};
