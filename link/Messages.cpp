#include "Messages.h"

#include <cstdio>

namespace {

void printToStandardError(const Message& message)
{
    std::fprintf(stderr, "%s\n", qPrintable(message.text));
}

MessageHandler& currentHandler()
{
    static MessageHandler handler = printToStandardError;
    return handler;
}

} // namespace

void showMessage(const Message& message)
{
    if (currentHandler())
        currentHandler()(message);
}

void showMessage(const QString& text)
{
    showMessage(Message{.text = text});
}

MessageHandler setMessageHandler(MessageHandler handler)
{
    MessageHandler previous = currentHandler();
    currentHandler() = handler ? std::move(handler) : MessageHandler(printToStandardError);
    return previous;
}
