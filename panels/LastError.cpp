#include "LastError.h"

#include "CommandWords.h"
#include "Display.h"
#include "Link.h"

#include <QString>

void showLastError(Connection& connection, QWidget* target)
{
    connection.pauseMs(kLastErrorDelayMs);
    showText(target, QString::fromLatin1(QueryText(connection, cmd::GET_LAST_ERROR)));
}
