#pragma once

#include "SerialPort.h"

#include <QString>

#include <functional>
#include <memory>

class Clock;

// The one connection to the camera: port name, baud rate and the open port.
// The main window owns it; the terminal, the panels and their pages hold a
// reference to it and so always use the port that is open now, also after the
// user has chosen another one.
class Connection {
public:
    explicit Connection(Clock& clock);
    ~Connection();

    Clock& clock() const { return m_clock; }

    // The open port, or null when the connection is closed (the invalid handle).
    SerialPort* port() const { return m_port.get(); }
    bool isOpen() const { return m_port != nullptr; }
    void attach(std::unique_ptr<SerialPort> port);
    void close();

    QString portName;
    qint32 baudRate = 38400;

    // True while an exchange or a detection runs. Handlers that may be reached
    // from inside one (timer ticks during a long operation, repaints during
    // detection) check it and leave the port alone.
    bool isBusy() const { return m_busyDepth > 0; }

    // Marks the connection busy for the lifetime of the scope.
    class BusyScope {
    public:
        explicit BusyScope(Connection& connection) : m_connection(connection) { ++m_connection.m_busyDepth; }
        ~BusyScope() { --m_connection.m_busyDepth; }
        BusyScope(const BusyScope&) = delete;
        BusyScope& operator=(const BusyScope&) = delete;

    private:
        Connection& m_connection;
    };

    // Sleeps a pause the protocol keeps on purpose (the settling time of
    // baud detection, the camera's time before a value is read) and adds it
    // to the total, so that benchmarks can tell it from time lost waiting.
    void pauseMs(qint64 ms) { pauseUs(ms * 1000); }
    void pauseUs(qint64 us);
    qint64 fixedPausesUs() const { return m_fixedPausesUs; }
    // Told about each such pause: when it began and how long it was.
    void setPauseObserver(std::function<void(qint64 startUs, qint64 durationUs)> observer)
    {
        m_pauseObserver = std::move(observer);
    }

    // Lines written without waiting for their answers (StreamLine, Link.h).
    // The next exchange lets their answers arrive before it starts.
    void noteUnansweredLine() { ++m_unansweredLines; }
    int takeUnansweredLines()
    {
        const int lines = m_unansweredLines;
        m_unansweredLines = 0;
        return lines;
    }

private:
    Clock& m_clock;
    std::unique_ptr<SerialPort> m_port;
    int m_busyDepth = 0;
    qint64 m_fixedPausesUs = 0;
    std::function<void(qint64, qint64)> m_pauseObserver;
    int m_unansweredLines = 0;
};
