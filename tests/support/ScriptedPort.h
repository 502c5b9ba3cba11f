#pragma once

#include "Clock.h"
#include "SerialPort.h"

#include <QByteArray>
#include <QList>

#include <functional>
#include <map>

// A port for tests: a timetable of bytes the camera sends and a log of the
// bytes it received. Waiting moves the clock on to the next scheduled byte, so
// on a VirtualClock nothing sleeps for real.
class ScriptedPort : public SerialPort {
public:
    explicit ScriptedPort(Clock& clock) : m_clock(clock) {}

    // Bytes that become readable at a time on the clock, or after a delay.
    void sendAt(qint64 atUs, const QByteArray& bytes);
    void sendAfterMs(double delayMs, const QByteArray& bytes);

    // Called with each complete line received (without its carriage return);
    // what it returns is sent after replyDelayMs. Unset: nothing is answered.
    std::function<QByteArray(const QByteArray& line)> responder;
    double replyDelayMs = 0;

    QByteArray received;  // every byte written, in order
    QList<qint32> rates;  // every rate applied, in order
    bool closed = false;
    QList<qint32> unsupportedRates;
    qint64 waitingQueries = 0; // calls of bytesWaiting()
    qint64 waits = 0;          // calls of waitReadable()
    // The far end hung up: like a real tty in that state, every wait returns
    // at once with nothing to read, and the port reports itself lost unless
    // hidesHangUp is set (a port that cannot tell).
    bool hungUp = false;
    bool hidesHangUp = false;

    // The lines received so far, split at carriage returns (empty ones kept).
    QByteArrayList receivedLines() const;

    bool setLineSettings(qint32 baudRate) override;
    qint64 bytesWaiting() override;
    QByteArray read(qint64 maxBytes) override;
    qint64 write(const QByteArray& bytes) override;
    bool waitReadable(int timeoutMs) override;
    void close() override { closed = true; }
    bool isLost() const override { return hungUp && !hidesHangUp; }
    bool supportsRate(qint32 baudRate) const override { return !unsupportedRates.contains(baudRate); }

private:
    void releaseDue();

    Clock& m_clock;
    std::multimap<qint64, QByteArray> m_timetable;
    QByteArray m_readable;
    QByteArray m_partialLine;
};
