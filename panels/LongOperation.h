#pragma once

// Long page operations (shading or defect detection): the camera is polled in
// a loop with pauses, and pending window events run during every pause so the
// window keeps repainting (captions set before a pause are painted at once)
// and the user's actions go out between two polls. Periodic polls and page
// timers are held back for the whole operation.
//
//   LongOperation operation(connection(), this);
//   sendPath().command(setLine(cmd::SHADING_DETECTION, mode));
//   const auto outcome = operation.pollUntil(cmd::SHADING_DETECTION,
//       {.pauseMs = 1000, .maxPolls = 120, .progress = m_progress});
//   if (outcome == LongOperation::Outcome::PageGone)
//       return; // the page was destroyed meanwhile: touch nothing
//
// The polls against the limit, a "Stop" button and how the operation ended
// show on the page's OperationProgress line named in the polling.
//
// An operation ends early, at its next poll, when the user stops it, when
// the window its page is in is closed (its panel; leaving the page's tab does
// not end it) or when the main window asks every operation on the connection
// to end because the application is closing (endAll); it ends
// at once when its page is destroyed. Pauses run on the connection's clock,
// so tests run them on virtual time.

#include "Connection.h"

#include <QByteArray>
#include <QPointer>
#include <QString>

#include <functional>

class OperationProgress;
class QAbstractButton;
class QObject;

// Lets the window events that are pending now run. The application
// processes them with Qt's event loop; tests install their own runner (for
// example one that clicks a button in the middle of an operation).
using PendingEventsRunner = std::function<void()>;

void runPendingEvents();
PendingEventsRunner setPendingEventsRunner(PendingEventsRunner runner);

class LongOperation {
public:
    // Pending events run at least this often during a pause.
    static constexpr int kSliceMs = 50;

    // What a page says, once, when the camera has not finished within the
    // operation's limit.
    static QString notFinishedText();

    enum class Outcome {
        Finished, // the camera reported the end
        GaveUp,   // maxPolls polls without the end
        Stopped,  // the user stopped it
        Ended,    // ended early: the page's window was closed, or the application is closing
        PageGone, // the owner was destroyed while events ran: touch nothing of it
    };

    struct Polling {
        int firstPauseMs = -1; // before the first poll; -1: the same as pauseMs
        int pauseMs = 1000;    // before every later poll
        int maxPolls = 0;      // 0: no limit
        // Runs before each pause with the number of polls made so far.
        std::function<void(int polls)> beforePause;
        // The end condition; the default is a value of 0.
        std::function<bool(int value)> finished;
        // Shows the polls, offers Stop and says how it ended.
        OperationProgress* progress = nullptr;
    };

    // owner: the page; when it is destroyed while events run, the operation
    // ends at once, and when its window is closed, at its next poll.
    LongOperation(Connection& connection, QObject* owner);
    ~LongOperation();
    LongOperation(const LongOperation&) = delete;
    LongOperation& operator=(const LongOperation&) = delete;

    // Waits ms on the connection's clock, letting pending events run. False
    // when the operation must end now; ending() tells why.
    bool pause(int ms);
    // Stopped, Ended or PageGone, once pause() has returned false.
    Outcome ending() const;

    // Ends the operation before its next poll (the user's "Stop").
    void stop() { m_stopRequested = true; }

    // Polls command with QueryInt until the camera reports the end.
    Outcome pollUntil(const QByteArray& command, const Polling& polling);

    // Asks every operation running on the connection to end at its next
    // poll; the main window does so when it is asked to close meanwhile.
    static void endAll(Connection& connection);
    // Whether an operation is running on the connection.
    static bool runningOn(const Connection& connection);

    bool ownerAlive() const { return !m_owner.isNull(); }
    // The last value polled.
    int lastValue() const { return m_lastValue; }

private:
    bool ownerWindowClosed() const;

    Connection& m_connection;
    Connection::SequenceScope m_sequence;
    QPointer<QObject> m_owner;
    bool m_ownerWindowWasShown;
    bool m_endRequested = false;
    bool m_stopRequested = false;
    int m_lastValue = 0;
};

// The button that started a long operation, for the operation's lifetime:
// disabled, its caption free to show progress, and given back enabled with
// its own caption at the end, unless it was destroyed meanwhile.
class RunningButton {
public:
    explicit RunningButton(QAbstractButton* button);
    ~RunningButton();
    RunningButton(const RunningButton&) = delete;
    RunningButton& operator=(const RunningButton&) = delete;

    // The caption the button had when the operation started.
    const QString& caption() const { return m_caption; }
    void showProgress(const QString& caption);

private:
    QPointer<QAbstractButton> m_button;
    QString m_caption;
};
