#pragma once

#include "Answer.h"
#include "SerialPort.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>
#include <vector>

class Clock;
class WireLog;

// The one connection to the camera: port name, baud rate and the open port.
// The main window owns it; the terminal, the panels and their pages hold a
// reference to it and so always use the port that is open now, also after the
// user has chosen another one.
//
// Besides the port it keeps what the exchanges share: whether one is running,
// the answers still owed to lines written without waiting, and whether the
// load under way has found the camera silent. Its signals tell the windows
// what happened to the port.
class Connection : public QObject {
    Q_OBJECT
public:
    explicit Connection(Clock& clock, QObject* parent = nullptr);
    ~Connection() override;

    Clock& clock() const { return m_clock; }

    // The open port, or null when the connection is closed (the invalid handle).
    SerialPort* port() const { return m_port.get(); }
    bool isOpen() const { return m_port != nullptr; }
    void attach(std::unique_ptr<SerialPort> port);
    void close();

    QString portName;
    qint32 baudRate = 38400;

    // The log of every line that goes over the wire; none by default. Lines
    // are timed from the opening of the port.
    void setWireLog(WireLog* log);
    WireLog* wireLog() const { return m_wireLog; }
    // SendLine and ReadAvailable, the only places where bytes cross the port,
    // report them here.
    void logSent(const QByteArray& bytes);
    void logReceived(const QByteArray& bytes);
    // Sets the rate of the open port (baud detection tries one after another).
    void setRate(qint32 baudRate);

    // Tells the windows that the port name, rate or open state changed.
    void announceState() { emit stateChanged(); }

    // After every operation on the port: a port whose device has gone (hung
    // up, removed, failing) is closed, so that every later exchange fails at
    // once instead of waiting for a camera that cannot answer, and lost() is
    // emitted once. Returns whether the port is still open.
    bool checkPort();
    // The port was closed because its device went away; cleared by attach().
    bool wasLost() const { return m_lost; }

    // True while an exchange or a detection runs. Handlers that may be reached
    // from inside one (timer ticks during a long operation, repaints during
    // detection) check it and leave the port alone.
    bool isBusy() const { return m_busyDepth > 0; }

    // Marks the connection busy for the lifetime of the scope.
    class BusyScope {
    public:
        explicit BusyScope(Connection& connection) : m_connection(connection) { ++m_connection.m_busyDepth; }
        ~BusyScope() { m_connection.leaveBusy(); }
        BusyScope(const BusyScope&) = delete;
        BusyScope& operator=(const BusyScope&) = delete;

    private:
        Connection& m_connection;
    };

    // A sequence of exchanges with pauses between them (a detection that
    // polls the camera): page timers keep out of it for its whole length,
    // while a user action may go out between two of its exchanges.
    bool inSequence() const { return m_sequenceDepth > 0; }
    class SequenceScope {
    public:
        explicit SequenceScope(Connection& connection) : m_connection(connection) { ++m_connection.m_sequenceDepth; }
        ~SequenceScope() { --m_connection.m_sequenceDepth; }
        SequenceScope(const SequenceScope&) = delete;
        SequenceScope& operator=(const SequenceScope&) = delete;

    private:
        Connection& m_connection;
    };

    // A load or refresh: the reads of a page, of a whole panel, of a poll.
    // Once one exchange in it has heard not a single byte within its
    // time-out, the camera is taken as silent and the rest of the load fails
    // at once. Scopes nest; the outermost one decides.
    class LoadScope {
    public:
        explicit LoadScope(Connection& connection);
        ~LoadScope();
        LoadScope(const LoadScope&) = delete;
        LoadScope& operator=(const LoadScope&) = delete;

    private:
        Connection& m_connection;
    };
    bool loadHasGoneSilent() const { return m_loadDepth > 0 && m_loadSilent; }
    void noteNothingHeard()
    {
        if (m_loadDepth > 0)
            m_loadSilent = true;
    }
    // Whether an exchange may start: the port is open and the load under way
    // has not found the camera silent.
    bool canExchange() const { return isOpen() && !loadHasGoneSilent(); }

    // Sleeps a pause the protocol keeps on purpose (the settling time of
    // baud detection, the camera's time before a value is read) and adds it
    // to the total, so that benchmarks can tell it from time lost waiting.
    void pauseMs(qint64 ms) { pauseUs(ms * 1000); }
    void pauseUs(qint64 us);
    qint64 fixedPausesUs() const { return m_fixedPausesUs; }
    // Told just before each line goes out (a control panel reading its pages
    // keeps its progress view up to date with it); none by default.
    void setLineObserver(std::function<void()> observer) { m_lineObserver = std::move(observer); }
    void noteLineGoingOut()
    {
        if (m_lineObserver)
            m_lineObserver();
    }
    // Told about each such pause: when it began and how long it was.
    void setPauseObserver(std::function<void(qint64 startUs, qint64 durationUs)> observer)
    {
        m_pauseObserver = std::move(observer);
    }

    // Answers owed to lines written without waiting (StreamLine, Link.h). The
    // next exchange lets them arrive before it starts; between exchanges they
    // are collected as they come. A refused one runs its handler as soon as
    // its answer is in; the handler only takes note and leaves the port alone.
    OwedAnswers& owedAnswers() { return m_owed; }
    void expectAnswer(const QByteArray& line, std::function<void()> onRefused);
    // Runs the handlers of refused owed lines.
    void settleRefusals(std::vector<std::function<void()>> handlers);

    // An exchange ended before its answer did: what still comes belongs to no
    // one waiting, and is collected between exchanges for a while. Until an
    // answer is complete again, the camera may be busy with those lines.
    void noteAnswerMayComeLate();
    void noteAnswerComplete() { m_answerMayComeLate = false; }
    bool answerMayComeLate() const { return m_answerMayComeLate; }
    // Bytes that no exchange waits for: emitted as unsolicitedInput() (the
    // terminal shows them), otherwise dropped.
    void passOnUnsolicited(const QByteArray& bytes);

    // Whether the camera has answered GET-LAST-ERROR on this port; a camera
    // that refused it once is not asked again.
    bool cameraHasLastError() const { return m_hasLastError; }
    void noteNoLastError() { m_hasLastError = false; }

    // Why the link refused to send the last command line it was given (it
    // never went out); empty once a line has been written since.
    void noteLinkRefusal(const QString& reason) { m_linkRefusal = reason; }
    const QString& linkRefusal() const { return m_linkRefusal; }

    // The most a port is read at once, and the most input kept for an answer.
    static constexpr qint64 kMaxReadBytes = 64 * 1024;

signals:
    void stateChanged();
    // The port's device went away; the port has been closed.
    void lost(const QString& portName);
    // The last exchange, detection or long operation has let go of the
    // port: the connection is free for the next one.
    void freed();
    void unsolicitedInput(const QByteArray& bytes);

private:
    void leaveBusy();
    void collectBetweenExchanges();
    void armCollector();

    // "<port> at <rate> baud", as the wire log names the port.
    QString portDescription() const;

    Clock& m_clock;
    std::unique_ptr<SerialPort> m_port;
    WireLog* m_wireLog = nullptr;
    qint64 m_openedUs = 0;
    bool m_lost = false;
    bool m_hasLastError = true;
    QString m_linkRefusal;
    int m_busyDepth = 0;
    int m_sequenceDepth = 0;
    int m_loadDepth = 0;
    bool m_loadSilent = false;
    bool m_answerMayComeLate = false;
    qint64 m_fixedPausesUs = 0;
    std::function<void(qint64, qint64)> m_pauseObserver;
    std::function<void()> m_lineObserver;
    OwedAnswers m_owed;

    bool m_arrivalCollectScheduled = false;

    // Collects owed and late answers between exchanges until this time.
    QTimer m_collector;
    qint64 m_collectUntilMs = 0;
};
