#pragma once

// The exchanges with the camera. Every window talks to the camera only through
// these operations on the one connection. A command line is ASCII text ended by
// one carriage return; the camera echoes it, sends value lines and ends with
// "OK", or "NG"/"ERROR" when it refuses.
//
// All of them block the calling thread until they finish. While they wait they
// sleep on the port in slices of at most 10 ms, never spinning, whatever state
// the port is in. None reports a read or write failure: a closed port yields no
// text, and every exchange on it fails at once, as does every exchange of a
// load that has found the camera silent (Connection::LoadScope). A port whose
// device goes away is closed the moment it is noticed. Time-outs are in
// seconds and compared with whole seconds, so 1.0 lasts between one and two
// seconds.
//
// A command line holds printable characters only. Every operation that sends
// one refuses a line holding a control character, which would reach the
// camera as two lines or garbled: nothing is sent, the user is told
// (showMessage), the operation fails as if the camera had refused, and
// LastErrorText gives the link's reason. SendLine alone writes what it is
// given, for the raw lines of the terminal, baud detection and waking the
// camera.
//
// An exchange takes only its own answer: an answer that does not begin with
// the echo of the line just sent belongs to an earlier line whose exchange
// gave up on a slow camera, and is dropped up to its terminal line while the
// exchange goes on waiting.

#include "Connection.h"
#include "SendableLine.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QList>

#include <functional>
#include <initializer_list>
#include <optional>

// "%s %d": the command word, one blank and a signed decimal value. Words that
// end in a blank of their own therefore put two blanks on the wire.
QByteArray setLine(const char* word, int value);

// Writes the line and a carriage return in one write, as it is.
void SendLine(Connection& connection, const QByteArray& line);

// Writes the line like SendLine for a caller that does not wait for the
// answer, such as a slider drag that writes one line per step. The camera may
// still be answering such lines when the next exchange starts; that exchange
// first waits until their answers are in (or the camera has gone quiet for a
// second) and discards them, so that none is taken for its own answer.
// Between exchanges the answers are collected as they come. When the camera
// refuses the line, onRefused runs as soon as that answer is in; it only
// takes note (the exchange that collected it may still be running).
void StreamLine(Connection& connection, const QByteArray& line, std::function<void()> onRefused = {});

// The text waiting in the input queue now, possibly empty; never waits.
QByteArray ReadAvailable(Connection& connection);

// Appends the tokens of text between runs of the delimiter characters.
void SplitTokens(const QByteArray& text, const char* delimiters, QByteArrayList& lines);

// Sends a setting: true when the camera answers "OK", false on "NG", "ERROR"
// or when the time-out passes. Stale input is discarded first.
bool Transact(Connection& connection, const QByteArray& command, double timeoutSeconds);

// How a setting sent with Transact ended.
enum class SetOutcome { Accepted, Refused, NoAnswer };
SetOutcome TransactOutcome(Connection& connection, const QByteArray& command, double timeoutSeconds);

// The whole answer to one line: the value lines between the echo and the
// terminal line, the terminal line itself ("OK", "NG", "ERROR ...") and how
// the answer ended.
struct LineAnswer {
    SetOutcome outcome = SetOutcome::NoAnswer;
    QByteArrayList values;
    // Empty when the answer did not end within the time-out.
    QByteArray terminalLine;
};

// Sends the line as it is and collects its whole answer, waiting at most
// timeoutMs for the terminal line; for programs that pass command lines
// through, such as scripts of commands. Stale input is discarded first.
LineAnswer ExchangeLine(Connection& connection, const QByteArray& line, int timeoutMs);

// Collects what arrives until the answer's terminal line ("OK", "NG" or
// "ERROR...") or the time-out.
QByteArray ReadUntilOk(Connection& connection, double timeoutSeconds);

// Collects what arrives until the answer's terminal line or timeoutMs
// milliseconds; for callers that wait a short, exact time.
QByteArray ReadAnswer(Connection& connection, int timeoutMs);

// Collects what arrives until done(collected) holds or timeoutMs has
// passed; for a caller that recognises its own answer (baud detection's lone
// carriage return).
QByteArray ReadUntil(Connection& connection, int timeoutMs, const std::function<bool(const QByteArray&)>& done);

// Collects what arrives until the answer's terminal line; gives up when
// nothing has come for quietMs (from the start, when nothing comes at all) or
// after limitMs in all. For raw exchanges whose answers may be long and slow,
// such as a HELP list typed in the terminal. onArrival, when given, is told
// after every look at the port what came (often nothing), so that a window
// can show a long answer as it comes and stay alive meanwhile.
QByteArray ReadAnswerWhileArriving(Connection& connection, int quietMs, int limitMs,
                                   const std::function<void(const QByteArray& arrived)>& onArrival = {});

// Waits at most timeoutMs for the answers still owed (Connection::
// expectAnswer) to end and discards them, so that a caller that reads raw
// answers for a short time (identification) does not spend its time on
// them. Exchanges wait for owed answers on their own.
void AwaitOwedAnswers(Connection& connection, int timeoutMs);

// The camera's text for its last refusal (GET-LAST-ERROR); empty when the
// camera has no such command or gives no text. When the link itself refused
// the last line, its reason, and the camera is not asked.
QString LastErrorText(Connection& connection);

// The integer on the value line: 0 when fewer than three lines came back, -1
// when the echo or the "OK" line is wrong.
int QueryInt(Connection& connection, const QByteArray& command);

// Like QueryInt, for values the camera may not have: true and the value when
// the answer checks out, false and 0 otherwise. The wait ends as soon as the
// answer is complete; the fixed pause such a read used to sleep first
// (kFormerValuePauseMs) is told to the connection as spared, for benchmarks.
inline constexpr int kFormerValuePauseMs = 100;
bool TryQueryInt(Connection& connection, const QByteArray& command, int& value);

// Scans the value line with a format of several "%d"; the outputs are filled
// only when the answer checks out and every value is there.
inline constexpr int kMaxQueriedNumbers = 8;
std::optional<QList<int>> QueryNumbers(Connection& connection, const QByteArray& command, const char* format,
                                       int count);
bool QueryInts(Connection& connection, const QByteArray& command, const char* format,
               std::initializer_list<int*> outputs);

// The value line, or empty text. Waits for the whole answer as long as the
// other queries do.
QByteArray QueryText(Connection& connection, const QByteArray& command);

// The same exchange, telling an empty text (the echo and "OK" alone) from
// an answer that does not check out (nothing).
std::optional<QByteArray> QueryTextLine(Connection& connection, const QByteArray& command);

// Replaces nothing: appends the choice lines of "HELP <name>" to lines, each
// still beginning with its blank, in the camera's order.
void QueryChoices(Connection& connection, const QByteArray& name, QByteArrayList& lines);

// min, max and step from the " min:%d, max:%d, step:%d" line of a HELP
// answer; all three are 0 unless the answer checks out.
void QueryRange(Connection& connection, const QByteArray& command, int& min, int& max, int& step);

// Waits until two carriage returns have arrived or the time-out passes; what
// arrives is discarded.
void AwaitLineEnds(Connection& connection, double timeoutSeconds);
