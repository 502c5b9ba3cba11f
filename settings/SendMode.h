#pragma once

#include <QByteArray>

class Connection;

// How a control's command line goes to the camera: written alone (StreamLine,
// no answer awaited; the next exchange lets the answer arrive and drops it) or as a
// transaction that waits for the answer up to a time-out. Pages never show
// the outcome unless they say so.
class SendMode {
public:
    static SendMode line() { return SendMode(false, 0.0); }
    static SendMode transact(double timeoutSeconds = 1.0) { return SendMode(true, timeoutSeconds); }

    bool awaitsAnswer() const { return m_awaitsAnswer; }
    double timeoutSeconds() const { return m_timeoutSeconds; }

    // True when the camera accepted the line; a line sent without waiting
    // counts as accepted.
    bool send(Connection& connection, const QByteArray& line) const;

    bool operator==(const SendMode& other) const = default;

private:
    SendMode(bool awaitsAnswer, double timeoutSeconds) : m_awaitsAnswer(awaitsAnswer), m_timeoutSeconds(timeoutSeconds) {}

    bool m_awaitsAnswer;
    double m_timeoutSeconds;
};
