#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include <ostream>

// Readable failure messages for the Qt values the tests compare.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QStringList& texts, std::ostream* out)
{
    *out << '{';
    for (const QString& text : texts) {
        PrintTo(text, out);
        *out << ", ";
    }
    *out << '}';
}

inline void PrintTo(const QByteArray& bytes, std::ostream* out)
{
    *out << '"';
    for (const char c : bytes) {
        if (c == '\r')
            *out << "\\r";
        else if (c == '\n')
            *out << "\\n";
        else
            *out << c;
    }
    *out << '"';
}

inline void PrintTo(const QByteArrayList& lines, std::ostream* out)
{
    *out << '{';
    for (const QByteArray& line : lines) {
        PrintTo(line, out);
        *out << ", ";
    }
    *out << '}';
}

inline void PrintTo(const QPoint& point, std::ostream* out)
{
    *out << '(' << point.x() << ", " << point.y() << ')';
}

inline void PrintTo(const QSize& size, std::ostream* out)
{
    *out << size.width() << 'x' << size.height();
}

inline void PrintTo(const QRect& rect, std::ostream* out)
{
    *out << rect.width() << 'x' << rect.height() << '+' << rect.x() << '+' << rect.y();
}
