#include "SendableLine.h"

qsizetype controlCharacterIn(const QByteArray& line)
{
    // Carriage returns that end the line only end it again: the camera sees
    // an empty line after it, never a second command.
    qsizetype end = line.size();
    while (end > 0 && line.at(end - 1) == '\r')
        --end;
    for (qsizetype i = 0; i < end; ++i) {
        const auto byte = static_cast<unsigned char>(line.at(i));
        if (byte < 0x20 || byte == 0x7f)
            return i;
    }
    return -1;
}

QString unsendableLineReason(const QByteArray& line)
{
    const qsizetype at = controlCharacterIn(line);
    if (at < 0)
        return {};
    switch (line.at(at)) {
    case '\r':
        return QStringLiteral("holds a carriage return");
    case '\n':
        return QStringLiteral("holds a line feed");
    case '\0':
        return QStringLiteral("holds a NUL");
    case '\t':
        return QStringLiteral("holds a tab");
    default:
        return QStringLiteral("holds the control character 0x%1")
            .arg(static_cast<unsigned char>(line.at(at)), 2, 16, QLatin1Char('0'));
    }
}

QString readableLine(const QByteArray& line)
{
    QString text;
    for (const char c : line) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7f) {
            text += QChar::fromLatin1(c);
            continue;
        }
        switch (c) {
        case '\r':
            text += QLatin1String("\\r");
            break;
        case '\n':
            text += QLatin1String("\\n");
            break;
        case '\0':
            text += QLatin1String("\\0");
            break;
        case '\t':
            text += QLatin1String("\\t");
            break;
        default:
            text += QStringLiteral("\\x%1").arg(byte, 2, 16, QLatin1Char('0'));
        }
    }
    return text;
}
