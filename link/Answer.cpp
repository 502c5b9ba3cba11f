#include "Answer.h"

#include <cstring>

QByteArrayList splitLines(const QByteArray& text, const char* delimiters)
{
    QByteArrayList lines;
    qsizetype start = -1;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        const bool atDelimiter = i == text.size() || std::strchr(delimiters, text.at(i)) != nullptr;
        if (atDelimiter) {
            if (start >= 0)
                lines.append(text.mid(start, i - start));
            start = -1;
        } else if (start < 0) {
            start = i;
        }
    }
    return lines;
}

AnswerEnd classifyAnswer(const QByteArray& collected)
{
    // Only lines already ended by their carriage return count; the text after
    // the last one may still grow.
    const qsizetype lastEnd = collected.lastIndexOf('\r');
    if (lastEnd < 0)
        return AnswerEnd::Pending;
    const QByteArrayList lines = splitLines(collected.left(lastEnd + 1));
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray& line = lines.at(i);
        if (line == "OK")
            return AnswerEnd::Accepted;
        if (line == "NG" || line.startsWith("ERROR"))
            return AnswerEnd::Refused;
    }
    return AnswerEnd::Pending;
}

bool echoMatches(const QByteArray& echo, const QByteArray& command)
{
    return echo.size() <= command.size() && command.startsWith(echo);
}
