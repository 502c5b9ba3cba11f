#pragma once

// Whether a command line may go to the camera as it stands. A command line
// holds printable characters only: a control character would cut it into
// two lines on the wire, or garble it.

#include <QByteArray>
#include <QString>

// The index of the first control character in a command line (a carriage
// return, line feed, NUL, tab, escape or any other below 0x20, or DEL), or -1.
// Carriage returns at its very end do not count: some settings go out with
// one of their own, which only puts an empty line after them.
qsizetype controlCharacterIn(const QByteArray& line);

// Why a command line may not be sent ("holds a carriage return"); empty when
// it may.
QString unsendableLineReason(const QByteArray& line);

// The line as a user can read it: control characters written as \r, \n, \0,
// \t or \xNN.
QString readableLine(const QByteArray& line);
