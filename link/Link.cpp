#include "Link.h"

#include "Answer.h"
#include "Clock.h"
#include "Scan.h"

#include <functional>

namespace {

// The longest a waiting loop blocks on the port before it looks at the clock.
constexpr int kWaitSliceMs = 10;

// Waiting for the answers of streamed lines ends when the camera has sent
// nothing for this long, and in any case after the longer limit.
constexpr int kStreamedAnswersQuietMs = 1000;
constexpr int kStreamedAnswersLimitMs = 10000;

void waitForInput(Connection& connection, int maxMs)
{
    if (SerialPort* port = connection.port())
        port->waitReadable(maxMs);
    else
        connection.clock().sleepMs(maxMs);
}

bool wholeSecondsPassed(Connection& connection, qint64 startSeconds, double timeoutSeconds)
{
    return static_cast<double>(connection.clock().wholeSeconds() - startSeconds) > timeoutSeconds;
}

// The common check of the query operations: the lines of the answer when it
// has an echo of the command, a value line and "OK" as its third line.
enum class QueryFailure { None, TooFewLines, WrongAnswer };

QueryFailure checkQueryAnswer(const QByteArray& answer, const QByteArray& command, QByteArray& valueLine)
{
    const QByteArrayList lines = splitLines(answer);
    if (lines.size() < 3)
        return QueryFailure::TooFewLines;
    if (!echoMatches(lines.at(0), command) || lines.at(2) != "OK")
        return QueryFailure::WrongAnswer;
    valueLine = lines.at(1);
    return QueryFailure::None;
}

// Collects what arrives until the answer's terminal line, or until
// remainingMs() says no time is left; between reads it blocks on the port.
QByteArray collectAnswer(Connection& connection, const std::function<qint64()>& remainingMs)
{
    Connection::BusyScope busy(connection);
    QByteArray collected;
    for (;;) {
        const QByteArray arrived = ReadAvailable(connection);
        if (!arrived.isEmpty()) {
            collected += arrived;
            if (classifyAnswer(collected) != AnswerEnd::Pending)
                return collected;
        }
        const qint64 remaining = remainingMs();
        if (remaining <= 0)
            return collected;
        waitForInput(connection, static_cast<int>(qMin<qint64>(remaining, kWaitSliceMs)));
    }
}

bool isTerminalLine(const QByteArray& line)
{
    return line == "OK" || line == "NG" || line.startsWith("ERROR");
}

// What an exchange does before it writes: discards what is waiting. When
// lines were streamed since the last exchange, their answers may still be on
// the way; it first waits for one terminal line per streamed line.
void discardStaleInput(Connection& connection)
{
    int unanswered = connection.takeUnansweredLines();
    QByteArray stale = ReadAvailable(connection);
    if (unanswered <= 0)
        return;
    Clock& clock = connection.clock();
    const qint64 giveUpMs = clock.nowMs() + kStreamedAnswersLimitMs;
    qint64 quietUntilMs = clock.nowMs() + kStreamedAnswersQuietMs;
    for (;;) {
        qsizetype end;
        while (unanswered > 0 && (end = stale.indexOf('\r')) >= 0) {
            if (isTerminalLine(stale.left(end)))
                --unanswered;
            stale.remove(0, end + 1);
        }
        const qint64 now = clock.nowMs();
        if (unanswered <= 0 || now >= quietUntilMs || now >= giveUpMs)
            return;
        waitForInput(connection, static_cast<int>(qMin<qint64>(kWaitSliceMs, qMin(quietUntilMs, giveUpMs) - now)));
        const QByteArray arrived = ReadAvailable(connection);
        if (!arrived.isEmpty()) {
            stale += arrived;
            quietUntilMs = clock.nowMs() + kStreamedAnswersQuietMs;
        }
    }
}

QByteArray exchange(Connection& connection, const QByteArray& command)
{
    discardStaleInput(connection);
    SendLine(connection, command);
    return ReadUntilOk(connection, 10.0);
}

} // namespace

QByteArray setLine(const char* word, int value)
{
    return QByteArray(word) + ' ' + QByteArray::number(value);
}

void SendLine(Connection& connection, const QByteArray& line)
{
    if (SerialPort* port = connection.port())
        port->write(line + '\r');
}

void StreamLine(Connection& connection, const QByteArray& line)
{
    if (!connection.port())
        return;
    SendLine(connection, line);
    connection.noteUnansweredLine();
}

QByteArray ReadAvailable(Connection& connection)
{
    SerialPort* port = connection.port();
    if (!port)
        return {};
    const qint64 waiting = port->bytesWaiting();
    if (waiting <= 0)
        return {};
    return port->read(waiting);
}

void SplitTokens(const QByteArray& text, const char* delimiters, QByteArrayList& lines)
{
    lines.append(splitLines(text, delimiters));
}

bool Transact(Connection& connection, const QByteArray& command, double timeoutSeconds)
{
    Connection::BusyScope busy(connection);
    discardStaleInput(connection);
    SendLine(connection, command);
    const qint64 start = connection.clock().wholeSeconds();
    QByteArray collected = ReadAvailable(connection);
    for (;;) {
        switch (classifyAnswer(collected)) {
        case AnswerEnd::Accepted:
            return true;
        case AnswerEnd::Refused:
            return false;
        case AnswerEnd::Pending:
            break;
        }
        if (wholeSecondsPassed(connection, start, timeoutSeconds))
            return false;
        waitForInput(connection, kWaitSliceMs);
        collected += ReadAvailable(connection);
    }
}

QByteArray ReadUntilOk(Connection& connection, double timeoutSeconds)
{
    const qint64 start = connection.clock().wholeSeconds();
    return collectAnswer(connection, [&]() -> qint64 {
        return wholeSecondsPassed(connection, start, timeoutSeconds) ? 0 : kWaitSliceMs;
    });
}

QByteArray ReadAnswer(Connection& connection, int timeoutMs)
{
    Clock& clock = connection.clock();
    const qint64 deadline = clock.nowMs() + timeoutMs;
    return collectAnswer(connection, [&] { return deadline - clock.nowMs(); });
}

int QueryInt(Connection& connection, const QByteArray& command)
{
    Connection::BusyScope busy(connection);
    QByteArray valueLine;
    switch (checkQueryAnswer(exchange(connection, command), command, valueLine)) {
    case QueryFailure::TooFewLines:
        return 0;
    case QueryFailure::WrongAnswer:
        return -1;
    case QueryFailure::None:
        break;
    }
    int value = 0;
    scanInts(valueLine, "%d", {&value});
    return value;
}

bool TryQueryInt(Connection& connection, const QByteArray& command, int& value)
{
    Connection::BusyScope busy(connection);
    value = 0;
    discardStaleInput(connection);
    SendLine(connection, command);
    connection.pauseMs(100);
    QByteArray valueLine;
    if (checkQueryAnswer(ReadUntilOk(connection, 10.0), command, valueLine) != QueryFailure::None)
        return false;
    int scanned = 0;
    if (scanInts(valueLine, "%d", {&scanned}) != 1)
        return false;
    value = scanned;
    return true;
}

bool QueryInts(Connection& connection, const QByteArray& command, const char* format,
               std::initializer_list<int*> outputs)
{
    Connection::BusyScope busy(connection);
    QByteArray valueLine;
    if (checkQueryAnswer(exchange(connection, command), command, valueLine) != QueryFailure::None)
        return false;
    // Scanned into temporaries so that a short value line leaves every output
    // as it was.
    int values[8] = {};
    const int wanted = static_cast<int>(outputs.size());
    if (wanted > 8)
        return false;
    int* v = values;
    const int converted = scanInts(valueLine, format, {v, v + 1, v + 2, v + 3, v + 4, v + 5, v + 6, v + 7});
    if (converted < wanted)
        return false;
    int i = 0;
    for (int* output : outputs)
        *output = values[i++];
    return true;
}

QByteArray QueryText(Connection& connection, const QByteArray& command)
{
    Connection::BusyScope busy(connection);
    discardStaleInput(connection);
    SendLine(connection, command);
    const QByteArrayList lines = splitLines(ReadAnswer(connection, 1000));
    if (lines.size() <= 2 || !echoMatches(lines.at(0), command) || lines.at(1) == "OK")
        return {};
    return lines.at(2) == "OK" ? lines.at(1) : QByteArray();
}

void QueryChoices(Connection& connection, const QByteArray& name, QByteArrayList& lines)
{
    Connection::BusyScope busy(connection);
    SplitTokens(exchange(connection, "HELP " + name), "\r", lines);
    lines.removeIf([](const QByteArray& line) { return !line.startsWith(' '); });
}

void QueryRange(Connection& connection, const QByteArray& command, int& min, int& max, int& step)
{
    Connection::BusyScope busy(connection);
    min = max = step = 0;
    const QByteArrayList lines = splitLines(exchange(connection, command));
    if (lines.size() < 3 || lines.last() != "OK")
        return;
    int values[3] = {};
    if (scanInts(lines.at(lines.size() - 2), " min:%d, max:%d, step:%d", {&values[0], &values[1], &values[2]}) == 3) {
        min = values[0];
        max = values[1];
        step = values[2];
    }
}

void AwaitLineEnds(Connection& connection, double timeoutSeconds)
{
    Connection::BusyScope busy(connection);
    const qint64 start = connection.clock().wholeSeconds();
    qsizetype lineEnds = 0;
    for (;;) {
        lineEnds += ReadAvailable(connection).count('\r');
        if (lineEnds >= 2 || wholeSecondsPassed(connection, start, timeoutSeconds))
            return;
        waitForInput(connection, kWaitSliceMs);
    }
}
