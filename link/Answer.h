#pragma once

#include <QByteArray>
#include <QByteArrayList>

#include <deque>
#include <functional>
#include <utility>
#include <vector>

// How far a camera answer has come. The camera echoes the command line, sends
// its value lines and ends with a line "OK", or "NG" or "ERROR..." when it
// refuses. Only whole lines after the echo decide: an echo such as
// "TRIGGER-RANGE 1" (which holds "NG") or "LOOKUP" (which holds "OK") never does.
enum class AnswerEnd {
    Pending,  // the terminal line has not arrived yet
    Accepted, // a line "OK"
    Refused,  // a line "NG" or a line beginning with "ERROR"
};

AnswerEnd classifyAnswer(const QByteArray& collected);

// The lines of a text split at any of the delimiter characters, with empty
// lines dropped: a run of delimiters counts as one.
QByteArrayList splitLines(const QByteArray& text, const char* delimiters = "\r");

// True when the echo line is the beginning of the command that was sent (the
// camera may echo a shortened line, never a different one).
bool echoMatches(const QByteArray& echo, const QByteArray& command);

bool isTerminalLine(const QByteArray& line);

// Collects the answer to one command line out of what arrives, dropping what
// belongs to earlier lines. A slow camera may still be answering a line whose
// exchange has given up; that late answer does not begin with the echo of the
// line just sent, so everything up to its terminal line is dropped and the
// collector goes on waiting for its own answer.
class AnswerCollector {
public:
    explicit AnswerCollector(QByteArray command) : m_command(std::move(command)) {}

    void add(const QByteArray& bytes);

    // The own answer so far, from its echo on; empty until the echo is in.
    QByteArray answer() const { return m_echoSeen ? m_text : QByteArray(); }
    AnswerEnd end() const { return m_end; }
    // Whether the camera sent anything at all, dropped answers included.
    bool heardAnything() const { return m_heardAnything; }
    // Whether an answer of an earlier line was dropped.
    bool droppedAnything() const { return m_droppedAnything; }
    // Once the echo has begun to arrive: how many more bytes must still come
    // before the answer can be complete (the rest of the echo and a terminal
    // line; after the echo, the rest of a terminal line once a line has
    // begun). 0 when that is not known.
    qsizetype bytesStillToCome() const;
    // Bytes that came after the answer's terminal line, for whoever reads
    // next.
    QByteArray takeSurplus() { return std::exchange(m_surplus, {}); }

private:
    void dropEarlierAnswers();

    QByteArray m_command;
    QByteArray m_text;
    QByteArray m_surplus;
    // Pending until the answer's terminal line is in; found as bytes are added.
    AnswerEnd m_end = AnswerEnd::Pending;
    bool m_echoSeen = false;
    bool m_insideEarlierAnswer = false;
    bool m_heardAnything = false;
    bool m_droppedAnything = false;
};

// The answers still owed to lines written without waiting (slider drags),
// matched to those lines in order as their terminal lines arrive.
class OwedAnswers {
public:
    // The line whose answer is owed, and what to do if the camera refuses it.
    void expect(const QByteArray& line, std::function<void()> onRefused = {});
    bool isEmpty() const { return m_owed.empty(); }
    int count() const { return int(m_owed.size()); }
    void clear();

    struct Taken {
        qsizetype used = 0;                            // bytes that belonged to owed answers
        std::vector<std::function<void()>> refusals;   // handlers of the lines refused
    };
    // Takes what arrived until every owed answer is in; the bytes after that
    // are not theirs.
    Taken take(const QByteArray& bytes);

private:
    struct Owed {
        QByteArray line;
        std::function<void()> onRefused;
    };
    std::deque<Owed> m_owed;
    QByteArray m_partialLine;
    bool m_refused = false; // the answer being read holds a refusal
};
