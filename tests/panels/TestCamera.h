#pragma once

#include "ScriptedPort.h"

#include <QByteArrayList>
#include <QMap>
#include <QSet>

#include <functional>

// A camera for page tests that answers like the real one: the echo, a value
// line and "OK" for a query it knows, "NG" for what it refuses, the choice
// lines or the min/max/step line for HELP, and "OK" for settings, which it
// then reports when queried.
class TestCamera {
public:
    explicit TestCamera(ScriptedPort& port);

    // Query line -> value line. A setting "WORD n" updates "WORD".
    QMap<QByteArray, QByteArray> values;
    // Command words (the text before the first blank of a line) it refuses.
    QSet<QByteArray> refused;
    // Lines answered with exactly this text (for answers that do not check out).
    QMap<QByteArray, QByteArray> raw;
    // Command words it never answers.
    QSet<QByteArray> silent;
    // "HELP <name>": choice lines (each beginning with a blank) or a range.
    QMap<QByteArray, QByteArrayList> choices;
    QMap<QByteArray, QByteArray> ranges; // name -> " min:%d, max:%d, step:%d"
    // Called with every line as it arrives, before it is answered.
    std::function<void(const QByteArray& line)> onLine;

    // Every line received so far, in order.
    QByteArrayList lines() const;
    void forgetLines();

    void set(const QByteArray& word, int value) { values[word] = QByteArray::number(value); }
    void set(const QByteArray& word, const QByteArray& value) { values[word] = value; }

private:
    QByteArray answer(const QByteArray& line);

    ScriptedPort& m_port;
};
