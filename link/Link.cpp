#include "Link.h"

#include "Answer.h"
#include "Clock.h"
#include "CommandWords.h"
#include "Messages.h"
#include "Scan.h"
#include "SendableLine.h"

#include <functional>

namespace {

// The longest a waiting loop blocks on the port before it looks at the clock.
constexpr int kWaitSliceMs = 10;

// Waiting for the answers of streamed lines ends when the camera has sent
// nothing for this long, and in any case after the longer limit.
constexpr int kStreamedAnswersQuietMs = 1000;
constexpr int kStreamedAnswersLimitMs = 10000;

// Blocks on the port for at most maxMs. A port that returns at once with
// nothing to read (a device in an error state, a hung-up line) must not turn
// the caller's loop into a spin, so the rest of the slice is slept.
void waitForInput(Connection& connection, int maxMs)
{
    Clock& clock = connection.clock();
    const qint64 startUs = clock.nowUs();
    if (connection.hasUnread())
        return;
    if (SerialPort* port = connection.port()) {
        const bool readable = port->waitReadable(maxMs);
        if (!connection.checkPort() || readable)
            return;
    }
    const qint64 restUs = qint64(maxMs) * 1000 - (clock.nowUs() - startUs);
    if (restUs > 0)
        clock.sleepUs(restUs);
    connection.keepAlive();
}

// Ten bit times (start, eight data bits, stop) at the port's rate; 0 when
// the port cannot tell its rate.
qint64 wireTimePerByteUs(Connection& connection)
{
    const SerialPort* port = connection.port();
    const qint32 rate = port ? port->baudRate() : 0;
    return rate > 0 ? 10000000 / rate : 0;
}

bool wholeSecondsPassed(Connection& connection, qint64 startSeconds, double timeoutSeconds)
{
    return static_cast<double>(connection.clock().wholeSeconds() - startSeconds) > timeoutSeconds;
}

// Time left for a wait: whole seconds against a time-out, or milliseconds.
std::function<qint64()> wholeSecondsTimeout(Connection& connection, double timeoutSeconds)
{
    const qint64 start = connection.clock().wholeSeconds();
    return [&connection, start, timeoutSeconds]() -> qint64 {
        return wholeSecondsPassed(connection, start, timeoutSeconds) ? 0 : kWaitSliceMs;
    };
}

std::function<qint64()> millisecondsTimeout(Connection& connection, int timeoutMs)
{
    const qint64 deadline = connection.clock().nowMs() + timeoutMs;
    return [&connection, deadline] { return deadline - connection.clock().nowMs(); };
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

// Whether hearing nothing proves the camera silent: a camera that is idle
// echoes at once, but a slow one still working through lines whose exchanges
// gave up may well say nothing for a second, never for the long wait of a
// query.
enum class Wait { Short, Long };

// Waits until the answer to command is complete or remainingMs() says no
// time is left. A wait that heard nothing at all, where no earlier answer
// could explain it, tells the load it runs in that the camera is silent; an
// exchange that ends before its answer does leaves the rest to be collected
// between exchanges.
AnswerCollector awaitAnswer(Connection& connection, const QByteArray& command,
                            const std::function<qint64()>& remainingMs, Wait wait)
{
    const bool cameraMayBeBusy = connection.answerMayComeLate();
    AnswerCollector collector(command);
    // The line and its carriage return take their wire time to go out, and
    // the camera answers only once it has read the carriage return: no
    // answer can be complete before then.
    if (!cameraMayBeBusy) {
        const qint64 lineOutUs = (command.size() + 1) * wireTimePerByteUs(connection);
        const qint64 remaining = remainingMs();
        if (lineOutUs > 0 && remaining > 0) {
            connection.clock().sleepUs(qMin(lineOutUs, remaining * 1000));
            connection.keepAlive();
        }
    }
    for (;;) {
        const QByteArray arrived = ReadAvailable(connection);
        collector.add(arrived);
        if (collector.end() != AnswerEnd::Pending || !connection.isOpen() || connection.waitCancelled())
            break;
        const qint64 remaining = remainingMs();
        if (remaining <= 0)
            break;
        // Bytes came and more must follow before the answer can be complete:
        // they cannot arrive faster than the line carries them, so the wait
        // sleeps that long instead of waking for every byte. Once such a
        // sleep brought nothing, the camera is working: the wait blocks
        // until it sends again.
        const qint64 stillToComeUs
            = arrived.isEmpty() ? 0 : collector.bytesStillToCome() * wireTimePerByteUs(connection);
        if (stillToComeUs > 0) {
            connection.clock().sleepUs(qMin(qMin(stillToComeUs, remaining * 1000), Connection::kPumpEveryMs * 1000));
            connection.keepAlive();
        } else
            waitForInput(connection, static_cast<int>(qMin<qint64>(remaining, kWaitSliceMs)));
    }
    connection.unread(collector.takeSurplus());
    if (collector.end() == AnswerEnd::Pending) {
        if (!collector.heardAnything() && !connection.waitCancelled() && (wait == Wait::Long || !cameraMayBeBusy))
            connection.noteNothingHeard();
        connection.noteAnswerMayComeLate();
    } else {
        connection.noteAnswerComplete();
    }
    return collector;
}

// Collects raw input until the answer's terminal line, or until remainingMs()
// says so (given whether anything arrived in this pass). onArrival is told
// what each pass read.
QByteArray collectRaw(Connection& connection, const std::function<qint64(bool arrived)>& remainingMs,
                      const std::function<void(const QByteArray&)>& onArrival = {})
{
    Connection::BusyScope busy(connection);
    QByteArray collected;
    for (;;) {
        const QByteArray arrived = ReadAvailable(connection);
        if (onArrival)
            onArrival(arrived);
        if (!arrived.isEmpty()) {
            collected += arrived;
            if (classifyAnswer(collected) != AnswerEnd::Pending) {
                connection.noteAnswerComplete();
                return collected;
            }
        }
        const qint64 remaining = remainingMs(!arrived.isEmpty());
        if (remaining <= 0 || !connection.isOpen() || connection.waitCancelled()) {
            connection.noteAnswerMayComeLate();
            return collected;
        }
        waitForInput(connection, static_cast<int>(qMin<qint64>(remaining, kWaitSliceMs)));
    }
}

// What an exchange waits for, as a view names it.
QString answerTo(const QByteArray& command)
{
    return QStringLiteral("the answer to \"%1\"").arg(QString::fromLatin1(command));
}

// Takes the bytes of owed answers out of what arrived; the rest is returned.
QByteArray settleOwed(Connection& connection, const QByteArray& arrived)
{
    OwedAnswers::Taken taken = connection.owedAnswers().take(arrived);
    connection.settleRefusals(std::move(taken.refusals));
    return arrived.mid(taken.used);
}

// What an exchange does before it writes: discards what is waiting. When
// lines were streamed since the last exchange, their answers may still be on
// the way; it first waits for them.
void discardStaleInput(Connection& connection)
{
    OwedAnswers& owed = connection.owedAnswers();
    QByteArray stale = settleOwed(connection, ReadAvailable(connection));
    if (!owed.isEmpty()) {
        Clock& clock = connection.clock();
        const qint64 giveUpMs = clock.nowMs() + kStreamedAnswersLimitMs;
        qint64 quietUntilMs = clock.nowMs() + kStreamedAnswersQuietMs;
        while (!owed.isEmpty() && connection.isOpen()) {
            const qint64 now = clock.nowMs();
            if (now >= quietUntilMs || now >= giveUpMs)
                break;
            waitForInput(connection, static_cast<int>(qMin<qint64>(kWaitSliceMs, qMin(quietUntilMs, giveUpMs) - now)));
            const QByteArray arrived = ReadAvailable(connection);
            if (!arrived.isEmpty()) {
                stale += settleOwed(connection, arrived);
                quietUntilMs = clock.nowMs() + kStreamedAnswersQuietMs;
            }
        }
        owed.clear();
    }
    connection.passOnUnsolicited(stale);
}

// The wait of the query operations.
constexpr double kQueryTimeoutSeconds = 10.0;

// Flushes, sends the command and waits for its answer.
AnswerCollector exchange(Connection& connection, const QByteArray& command,
                         const std::function<qint64()>& remainingMs, Wait wait)
{
    discardStaleInput(connection);
    SendLine(connection, command);
    Connection::WaitScope waiting(connection, answerTo(command));
    return awaitAnswer(connection, command, remainingMs, wait);
}

AnswerCollector query(Connection& connection, const QByteArray& command)
{
    return exchange(connection, command, wholeSecondsTimeout(connection, kQueryTimeoutSeconds), Wait::Long);
}

// A command line that holds a control character is not sent: the user is
// told, and the reason stands in for the camera's own (LastErrorText).
bool refusedByLink(Connection& connection, const QByteArray& line)
{
    const QString reason = unsendableLineReason(line);
    if (reason.isEmpty())
        return false;
    connection.noteLinkRefusal(QStringLiteral("not sent: it %1").arg(reason));
    showMessage({.title = QStringLiteral("Line Not Sent"),
                 .text = QStringLiteral("\"%1\" was not sent: it %2. A command line may hold printable characters only.")
                             .arg(readableLine(line), reason)});
    return true;
}

SetOutcome outcomeOf(AnswerEnd end)
{
    switch (end) {
    case AnswerEnd::Accepted:
        return SetOutcome::Accepted;
    case AnswerEnd::Refused:
        return SetOutcome::Refused;
    case AnswerEnd::Pending:
        break;
    }
    return SetOutcome::NoAnswer;
}

} // namespace

QByteArray setLine(const char* word, int value)
{
    return QByteArray(word) + ' ' + QByteArray::number(value);
}

void SendLine(Connection& connection, const QByteArray& line)
{
    connection.noteLinkRefusal({});
    connection.noteLineGoingOut();
    if (SerialPort* port = connection.port()) {
        const QByteArray bytes = line + '\r';
        const qint64 written = port->write(bytes);
        if (written > 0)
            connection.logSent(bytes.left(written));
        connection.checkPort();
    }
}

void StreamLine(Connection& connection, const QByteArray& line, std::function<void()> onRefused)
{
    if (refusedByLink(connection, line)) {
        if (onRefused)
            connection.settleRefusals({std::move(onRefused)});
        return;
    }
    if (!connection.isOpen())
        return;
    SendLine(connection, line);
    if (connection.isOpen())
        connection.expectAnswer(line, std::move(onRefused));
}

QByteArray ReadAvailable(Connection& connection)
{
    SerialPort* port = connection.port();
    if (!port)
        return {};
    QByteArray bytes = connection.takeUnread();
    const qint64 waiting = port->bytesWaiting();
    if (waiting > 0) {
        const QByteArray arrived = port->read(qMin(waiting, Connection::kMaxReadBytes));
        if (!arrived.isEmpty())
            connection.logReceived(arrived);
        bytes += arrived;
    }
    connection.checkPort();
    return bytes;
}

void SplitTokens(const QByteArray& text, const char* delimiters, QByteArrayList& lines)
{
    lines.append(splitLines(text, delimiters));
}

SetOutcome TransactOutcome(Connection& connection, const QByteArray& command, double timeoutSeconds)
{
    if (refusedByLink(connection, command))
        return SetOutcome::Refused;
    Connection::BusyScope busy(connection);
    if (!connection.canExchange())
        return SetOutcome::NoAnswer;
    const AnswerCollector answer = exchange(connection, command, wholeSecondsTimeout(connection, timeoutSeconds),
                                            timeoutSeconds >= kQueryTimeoutSeconds ? Wait::Long : Wait::Short);
    return outcomeOf(answer.end());
}

LineAnswer ExchangeLine(Connection& connection, const QByteArray& line, int timeoutMs)
{
    LineAnswer result;
    if (refusedByLink(connection, line)) {
        result.outcome = SetOutcome::Refused;
        return result;
    }
    Connection::BusyScope busy(connection);
    if (!connection.canExchange())
        return result;
    const AnswerCollector answer = exchange(connection, line, millisecondsTimeout(connection, timeoutMs), Wait::Long);
    // Line 0 is the echo; what follows the terminal line is not this answer's.
    const QByteArrayList lines = splitLines(answer.answer());
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (isTerminalLine(lines.at(i))) {
            result.terminalLine = lines.at(i);
            break;
        }
        result.values.append(lines.at(i));
    }
    result.outcome = outcomeOf(answer.end());
    return result;
}

bool Transact(Connection& connection, const QByteArray& command, double timeoutSeconds)
{
    return TransactOutcome(connection, command, timeoutSeconds) == SetOutcome::Accepted;
}

QByteArray ReadUntilOk(Connection& connection, double timeoutSeconds)
{
    const std::function<qint64()> remaining = wholeSecondsTimeout(connection, timeoutSeconds);
    return collectRaw(connection, [&](bool) { return remaining(); });
}

QByteArray ReadAnswer(Connection& connection, int timeoutMs)
{
    const std::function<qint64()> remaining = millisecondsTimeout(connection, timeoutMs);
    return collectRaw(connection, [&](bool) { return remaining(); });
}

QByteArray ReadUntil(Connection& connection, int timeoutMs, const std::function<bool(const QByteArray&)>& done)
{
    Connection::BusyScope busy(connection);
    const std::function<qint64()> remaining = millisecondsTimeout(connection, timeoutMs);
    QByteArray collected;
    for (;;) {
        collected += ReadAvailable(connection);
        if (done(collected) || !connection.isOpen())
            return collected;
        const qint64 left = remaining();
        if (left <= 0)
            return collected;
        waitForInput(connection, static_cast<int>(qMin<qint64>(left, kWaitSliceMs)));
    }
}

QByteArray ReadAnswerWhileArriving(Connection& connection, int quietMs, int limitMs,
                                   const std::function<void(const QByteArray&)>& onArrival)
{
    Clock& clock = connection.clock();
    const qint64 limit = clock.nowMs() + limitMs;
    qint64 quietUntil = clock.nowMs() + quietMs;
    return collectRaw(connection, [&](bool arrived) {
        const qint64 now = clock.nowMs();
        if (arrived)
            quietUntil = now + quietMs;
        return qMin(quietUntil, limit) - now;
    }, onArrival);
}

int QueryInt(Connection& connection, const QByteArray& command)
{
    Connection::BusyScope busy(connection);
    if (refusedByLink(connection, command) || !connection.canExchange())
        return 0;
    const AnswerCollector answer = query(connection, command);
    QByteArray valueLine;
    const QueryFailure failure = checkQueryAnswer(answer.answer(), command, valueLine);
    switch (failure) {
    case QueryFailure::TooFewLines:
        // Only answers of other lines came back: the echo was wrong.
        return answer.answer().isEmpty() && answer.droppedAnything() ? -1 : 0;
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
    if (refusedByLink(connection, command) || !connection.canExchange())
        return false;
    Clock& clock = connection.clock();
    discardStaleInput(connection);
    SendLine(connection, command);
    const qint64 sentUs = clock.nowUs();
    const AnswerCollector answer = [&] {
        Connection::WaitScope waiting(connection, answerTo(command));
        return awaitAnswer(connection, command, wholeSecondsTimeout(connection, kQueryTimeoutSeconds), Wait::Long);
    }();
    connection.notePause(Connection::PauseKind::Spared, clock.nowUs(),
                         sentUs + kFormerValuePauseMs * 1000 - clock.nowUs());
    QByteArray valueLine;
    int scanned = 0;
    const bool answered = checkQueryAnswer(answer.answer(), command, valueLine) == QueryFailure::None
                          && scanInts(valueLine, "%d", {&scanned}) == 1;
    if (!answered)
        return false;
    value = scanned;
    return true;
}

std::optional<QList<int>> QueryNumbers(Connection& connection, const QByteArray& command, const char* format,
                                       int count)
{
    Connection::BusyScope busy(connection);
    if (refusedByLink(connection, command) || !connection.canExchange() || count < 1 || count > kMaxQueriedNumbers)
        return std::nullopt;
    QByteArray valueLine;
    if (checkQueryAnswer(query(connection, command).answer(), command, valueLine) != QueryFailure::None)
        return std::nullopt;
    int values[kMaxQueriedNumbers] = {};
    int* v = values;
    if (scanInts(valueLine, format, {v, v + 1, v + 2, v + 3, v + 4, v + 5, v + 6, v + 7}) < count)
        return std::nullopt;
    return QList<int>(values, values + count);
}

bool QueryInts(Connection& connection, const QByteArray& command, const char* format,
               std::initializer_list<int*> outputs)
{
    // Scanned into temporaries so that a short value line leaves every output
    // as it was.
    const std::optional<QList<int>> values = QueryNumbers(connection, command, format, int(outputs.size()));
    if (!values)
        return false;
    int i = 0;
    for (int* output : outputs)
        *output = values->at(i++);
    return true;
}

std::optional<QByteArray> QueryTextLine(Connection& connection, const QByteArray& command)
{
    Connection::BusyScope busy(connection);
    if (refusedByLink(connection, command) || !connection.canExchange())
        return std::nullopt;
    const QByteArrayList lines = splitLines(query(connection, command).answer());
    if (lines.size() < 2 || !echoMatches(lines.at(0), command))
        return std::nullopt;
    // The echo and "OK" alone: the camera holds an empty text.
    if (lines.size() == 2)
        return lines.at(1) == "OK" ? std::optional(QByteArray()) : std::nullopt;
    if (lines.at(1) == "OK" || lines.at(2) != "OK")
        return std::nullopt;
    return lines.at(1);
}

QByteArray QueryText(Connection& connection, const QByteArray& command)
{
    return QueryTextLine(connection, command).value_or(QByteArray());
}

void QueryChoices(Connection& connection, const QByteArray& name, QByteArrayList& lines)
{
    Connection::BusyScope busy(connection);
    if (refusedByLink(connection, name) || !connection.canExchange())
        return;
    SplitTokens(query(connection, "HELP " + name).answer(), "\r", lines);
    lines.removeIf([](const QByteArray& line) { return !line.startsWith(' '); });
}

void QueryRange(Connection& connection, const QByteArray& command, int& min, int& max, int& step)
{
    Connection::BusyScope busy(connection);
    min = max = step = 0;
    if (refusedByLink(connection, command) || !connection.canExchange())
        return;
    const QByteArrayList lines = splitLines(query(connection, command).answer());
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
    if (!connection.isOpen())
        return;
    const qint64 start = connection.clock().wholeSeconds();
    qsizetype lineEnds = 0;
    for (;;) {
        lineEnds += ReadAvailable(connection).count('\r');
        if (lineEnds >= 2 || !connection.isOpen() || wholeSecondsPassed(connection, start, timeoutSeconds))
            return;
        waitForInput(connection, kWaitSliceMs);
    }
}

void AwaitOwedAnswers(Connection& connection, int timeoutMs)
{
    Connection::BusyScope busy(connection);
    OwedAnswers& owed = connection.owedAnswers();
    const std::function<qint64()> remaining = millisecondsTimeout(connection, timeoutMs);
    QByteArray rest;
    while (!owed.isEmpty() && connection.isOpen()) {
        rest += settleOwed(connection, ReadAvailable(connection));
        if (owed.isEmpty() || remaining() <= 0)
            break;
        waitForInput(connection, static_cast<int>(qMin<qint64>(remaining(), kWaitSliceMs)));
    }
    connection.passOnUnsolicited(rest);
}

QString LastErrorText(Connection& connection)
{
    if (!connection.linkRefusal().isEmpty())
        return connection.linkRefusal();
    if (!connection.cameraHasLastError())
        return {};
    Connection::BusyScope busy(connection);
    if (!connection.canExchange())
        return {};
    const AnswerCollector answer =
        exchange(connection, cmd::GET_LAST_ERROR, millisecondsTimeout(connection, 1000), Wait::Short);
    if (answer.end() == AnswerEnd::Refused) {
        connection.noteNoLastError();
        return {};
    }
    const QByteArrayList lines = splitLines(answer.answer());
    if (lines.size() < 3 || lines.last() != "OK")
        return {};
    return QString::fromLatin1(lines.at(1)).trimmed();
}
