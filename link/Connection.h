#pragma once

#include "Answer.h"
#include "SerialPort.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>
#include <utility>
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

    // Sleeps a pause the camera itself needs (settling after a tap or mode
    // change, the time before it can tell why it refused). The connection
    // counts as busy meanwhile, so user actions wait for its end, and the
    // window is kept alive as during any other wait.
    void pauseMs(qint64 ms, const QString& what = QStringLiteral("the camera to settle")) { pauseUs(ms * 1000, what); }
    void pauseUs(qint64 us, const QString& what = QStringLiteral("the camera to settle"));

    // What a stretch of time on the link was, for benchmarks that tell the
    // camera's own time from time lost: a pause the camera needs, a bounded
    // wait that ran out because nothing recognisable came (baud detection at
    // a rate the camera does not listen at), or the rest of a fixed pause the
    // protocol once kept, which is not slept any more since the answer was
    // already complete.
    enum class PauseKind { Camera, Unanswered, Spared };
    void notePause(PauseKind kind, qint64 startUs, qint64 durationUs)
    {
        if (m_pauseObserver && durationUs > 0)
            m_pauseObserver(kind, startUs, durationUs);
    }
    void setPauseObserver(std::function<void(PauseKind kind, qint64 startUs, qint64 durationUs)> observer)
    {
        m_pauseObserver = std::move(observer);
    }
    // Told just before each line goes out (a control panel reading its pages
    // keeps its progress view up to date with it); none by default.
    void setLineObserver(std::function<void()> observer) { m_lineObserver = std::move(observer); }
    void noteLineGoingOut()
    {
        if (m_lineObserver)
            m_lineObserver();
    }

    // ---- keeping the window alive while the camera is waited for
    //
    // Every wait (an exchange, a pause the camera needs) runs the pump at
    // least every kPumpEveryMs. The application's pump lets the window
    // repaint, answer accessibility requests and take input; as the
    // connection is busy meanwhile, user actions wait their turn
    // (SendPath::whenIdle) and timers keep off the port. None by default.
    static constexpr qint64 kPumpEveryMs = 50;
    void setWaitPump(std::function<void()> pump) { m_waitPump = std::move(pump); }
    // Runs the pump when it has not run for kPumpEveryMs; waits call it.
    void keepAlive();

    // What the wait running now waits for ("the answer to \"GAIN 12\"",
    // "the camera to settle"), and since when; empty when nothing is waited
    // for. A view shows it once a wait has lasted half a second.
    class WaitScope {
    public:
        WaitScope(Connection& connection, const QString& what);
        ~WaitScope();
        WaitScope(const WaitScope&) = delete;
        WaitScope& operator=(const WaitScope&) = delete;

    private:
        Connection& m_connection;
        QString m_outer;
        qint64 m_outerSinceUs;
    };
    const QString& waitingFor() const { return m_waitingFor; }
    qint64 waitingSinceUs() const { return m_waitingSinceUs; }
    // The user gave up waiting: the wait running now ends as if its time ran
    // out, and the rest of the load it belongs to fails at once.
    void cancelWait();
    bool waitCancelled() const { return m_waitCancelled; }

    // Answers owed to lines written without waiting (StreamLine, Link.h). The
    // next exchange lets them arrive before it starts; between exchanges they
    // are collected as they come. A refused one runs its handler as soon as
    // its answer is in; the handler only takes note and leaves the port alone.
    OwedAnswers& owedAnswers() { return m_owed; }
    // Bytes read past the end of an answer: the next read gets them first,
    // and without an exchange they are collected soon, as bytes that arrive.
    void unread(const QByteArray& bytes);
    QByteArray takeUnread() { return std::exchange(m_unread, {}); }
    bool hasUnread() const { return !m_unread.isEmpty(); }
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
    void scheduleCollect();
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
    std::function<void(PauseKind, qint64, qint64)> m_pauseObserver;
    std::function<void()> m_lineObserver;
    std::function<void()> m_waitPump;
    qint64 m_pumpedAtMs = 0;
    bool m_pumping = false;
    QString m_waitingFor;
    qint64 m_waitingSinceUs = 0;
    bool m_waitCancelled = false;
    OwedAnswers m_owed;
    QByteArray m_unread;

    bool m_arrivalCollectScheduled = false;

    // Collects owed and late answers between exchanges until this time.
    QTimer m_collector;
    qint64 m_collectUntilMs = 0;
};
