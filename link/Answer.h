#pragma once

#include <QByteArray>
#include <QByteArrayList>

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
