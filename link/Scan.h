#pragma once

#include <QByteArray>
#include <QString>

#include <initializer_list>

// Reads a signed decimal integer the way the camera's values and the user's
// typed values are read: leading white space skipped, an optional sign, then
// digits. Values beyond the 32-bit range clamp to it instead of wrapping.
// Returns false when no digit is found at pos; pos moves past what was read.
bool scanDecimal(const QByteArray& text, qsizetype& pos, int& value);

// A typed value: the number at the start of the text, 0 when there is none.
int readDecimal(const QString& text);

// Scans a line against a format made of "%d" conversions, white space (which
// matches any run of white space, none included) and literal characters, as in
// " min:%d, max:%d, step:%d". Returns how many conversions succeeded; the
// outputs are written in order up to the first failure.
int scanInts(const QByteArray& line, const char* format, std::initializer_list<int*> outputs);
