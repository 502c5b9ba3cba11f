#include "Scan.h"

#include <QChar>

#include <algorithm>
#include <climits>
#include <cctype>
#include <vector>

namespace {

bool isBlank(char c)
{
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

} // namespace

bool scanDecimal(const QByteArray& text, qsizetype& pos, int& value)
{
    qsizetype i = pos;
    while (i < text.size() && isBlank(text.at(i)))
        ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == '-' || text.at(i) == '+')) {
        negative = text.at(i) == '-';
        ++i;
    }
    if (i >= text.size() || !std::isdigit(static_cast<unsigned char>(text.at(i))))
        return false;
    long long magnitude = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text.at(i))); ++i) {
        if (magnitude <= static_cast<long long>(INT_MAX) + 1)
            magnitude = magnitude * 10 + (text.at(i) - '0');
    }
    const long long signedValue = negative ? -magnitude : magnitude;
    value = static_cast<int>(std::clamp<long long>(signedValue, INT_MIN, INT_MAX));
    pos = i;
    return true;
}

int readDecimal(const QString& text)
{
    const QByteArray bytes = text.toLatin1();
    qsizetype pos = 0;
    int value = 0;
    return scanDecimal(bytes, pos, value) ? value : 0;
}

int scanInts(const QByteArray& line, const char* format, std::initializer_list<int*> outputs)
{
    const std::vector<int*> targets(outputs);
    size_t converted = 0;
    qsizetype pos = 0;
    for (const char* f = format; *f != '\0'; ++f) {
        if (f[0] == '%' && f[1] == 'd') {
            int value = 0;
            if (converted >= targets.size() || !scanDecimal(line, pos, value))
                break;
            *targets[converted++] = value;
            ++f;
        } else if (isBlank(*f)) {
            while (pos < line.size() && isBlank(line.at(pos)))
                ++pos;
        } else {
            if (pos >= line.size() || line.at(pos) != *f)
                break;
            ++pos;
        }
    }
    return static_cast<int>(converted);
}
