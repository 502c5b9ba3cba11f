#include "Messages.h"

#include <cstdio>

namespace {

void printToStandardError(const QString& text)
{
    std::fprintf(stderr, "%s\n", qPrintable(text));
}

MessageHandler& currentHandler()
{
    static MessageHandler handler = printToStandardError;
    return handler;
}

} // namespace

void showMessage(const QString& text)
{
    if (currentHandler())
        currentHandler()(text);
}

MessageHandler setMessageHandler(MessageHandler handler)
{
    MessageHandler previous = currentHandler();
    currentHandler() = handler ? std::move(handler) : MessageHandler(printToStandardError);
    return previous;
}
