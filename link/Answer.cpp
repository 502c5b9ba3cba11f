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

namespace {

struct ScannedAnswer {
    AnswerEnd end = AnswerEnd::Pending;
    // Up to and with the terminal line's carriage return; 0 while pending.
    qsizetype length = 0;
};

ScannedAnswer scanAnswer(const QByteArray& collected)
{
    // Only lines already ended by their carriage return count; the text after
    // the last one may still grow. The first non-empty line is the echo. Read
    // in place: this runs for every piece of an answer that arrives.
    const QByteArrayView text(collected);
    bool echoPassed = false;
    qsizetype start = 0;
    for (qsizetype end; (end = text.indexOf('\r', start)) >= 0; start = end + 1) {
        const QByteArrayView line = text.sliced(start, end - start);
        if (line.isEmpty())
            continue;
        if (!echoPassed) {
            echoPassed = true;
            continue;
        }
        if (line == "OK")
            return {AnswerEnd::Accepted, end + 1};
        if (line == "NG" || line.startsWith("ERROR"))
            return {AnswerEnd::Refused, end + 1};
    }
    return {};
}

} // namespace

AnswerEnd classifyAnswer(const QByteArray& collected)
{
    return scanAnswer(collected).end;
}

bool echoMatches(const QByteArray& echo, const QByteArray& command)
{
    return echo.size() <= command.size() && command.startsWith(echo);
}

bool isTerminalLine(const QByteArray& line)
{
    return line == "OK" || line == "NG" || line.startsWith("ERROR");
}

// ---------------------------------------------------------------- AnswerCollector

void AnswerCollector::add(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return;
    m_heardAnything = true;
    // What comes after the terminal line is not part of this answer.
    if (m_end != AnswerEnd::Pending) {
        m_surplus += bytes;
        return;
    }
    m_text += bytes;
    if (!m_echoSeen)
        dropEarlierAnswers();
    if (m_echoSeen) {
        const ScannedAnswer scanned = scanAnswer(m_text);
        if (scanned.end != AnswerEnd::Pending) {
            m_end = scanned.end;
            m_surplus = m_text.mid(scanned.length);
            m_text.truncate(scanned.length);
        }
    }
}

void AnswerCollector::dropEarlierAnswers()
{
    for (;;) {
        // Empty lines (the camera's answer to a lone carriage return) belong
        // to no one.
        qsizetype start = 0;
        while (start < m_text.size() && m_text.at(start) == '\r')
            ++start;
        m_text.remove(0, start);
        const qsizetype end = m_text.indexOf('\r');
        if (end < 0)
            return; // the first line is not complete yet
        const QByteArray line = m_text.left(end);
        if (!m_insideEarlierAnswer && !isTerminalLine(line) && echoMatches(line, m_command)) {
            m_echoSeen = true;
            return;
        }
        // An earlier line's answer: everything up to its terminal line goes.
        m_droppedAnything = true;
        m_insideEarlierAnswer = !isTerminalLine(line);
        m_text.remove(0, end + 1);
    }
}

qsizetype AnswerCollector::bytesStillToCome() const
{
    // The shortest terminal line, "OK" or "NG", with its carriage return.
    constexpr qsizetype kShortestEnd = 3;
    if (m_echoSeen) {
        // At a line's end the camera may work a while before its next line.
        // A line begun either becomes a terminal line or ends, and a
        // terminal line follows it.
        QByteArrayView begun = QByteArrayView(m_text).sliced(m_text.lastIndexOf('\r') + 1);
        while (begun.startsWith('\n'))
            begun = begun.sliced(1);
        if (begun.isEmpty())
            return 0;
        qsizetype least = 1 + kShortestEnd;
        for (const QByteArrayView end : {QByteArrayView("OK"), QByteArrayView("NG"), QByteArrayView("ERROR")}) {
            if (end.startsWith(begun))
                least = qMin(least, end.size() - begun.size() + 1);
        }
        return least;
    }
    if (m_text.isEmpty() || m_insideEarlierAnswer || m_text.contains('\r') || !m_command.startsWith(m_text))
        return 0;
    return m_command.size() + 1 - m_text.size() + kShortestEnd;
}

// ---------------------------------------------------------------- OwedAnswers

void OwedAnswers::expect(const QByteArray& line, std::function<void()> onRefused)
{
    m_owed.push_back({line, std::move(onRefused)});
}

void OwedAnswers::clear()
{
    m_owed.clear();
    m_partialLine.clear();
}

OwedAnswers::Taken OwedAnswers::take(const QByteArray& bytes)
{
    Taken taken;
    qsizetype pos = 0;
    while (!m_owed.empty() && pos < bytes.size()) {
        const qsizetype end = bytes.indexOf('\r', pos);
        if (end < 0) {
            m_partialLine += bytes.mid(pos);
            pos = bytes.size();
            break;
        }
        const QByteArray line = m_partialLine + bytes.mid(pos, end - pos);
        m_partialLine.clear();
        pos = end + 1;
        if (!isTerminalLine(line))
            continue;
        Owed owed = std::move(m_owed.front());
        m_owed.pop_front();
        if (line != "OK" && owed.onRefused)
            taken.refusals.push_back(std::move(owed.onRefused));
    }
    taken.used = pos;
    return taken;
}
