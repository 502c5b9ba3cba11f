#pragma once

#include "Messages.h"

#include <QStringList>

// Records the message-box texts shown while it lives instead of showing them.
class CapturedMessages {
public:
    QStringList texts;

private:
    ScopedMessageHandler m_handler{[this](const QString& text) { texts << text; }};
};
