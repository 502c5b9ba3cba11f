#include "SendMode.h"

#include "Link.h"

bool SendMode::send(Connection& connection, const QByteArray& line) const
{
    if (!m_awaitsAnswer) {
        StreamLine(connection, line);
        return true;
    }
    return Transact(connection, line, m_timeoutSeconds);
}
