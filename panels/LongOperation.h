#pragma once

// Long page operations (shading or defect detection): the camera is polled in
// a loop with pauses, and pending window events run during every pause so the
// window keeps repainting and reacting. Other handlers may then send their own
// commands between the polls; periodic polls are held back because the
// operation marks the connection busy.
//
//   LongOperation operation(connection(), this);
//   SendLine(connection(), setLine(cmd::SHADING_DETECTION, mode));
//   const auto outcome = operation.pollUntilZero(cmd::SHADING_DETECTION,
//       {.pauseMs = 1000, .maxPolls = 600, .beforePause = [&](int pass) { ...caption... }});
//   if (outcome == LongOperation::Outcome::PageGone)
//       return; // the page was destroyed meanwhile: touch nothing
//
// Pauses run on the connection's clock, so tests run them on virtual time.

#include "Connection.h"

#include <QByteArray>
#include <QPointer>

#include <functional>

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

    enum class Outcome {
        Finished, // the camera reported the end
        GaveUp,   // maxPolls polls without the end
        PageGone, // the owner was destroyed while events ran
    };

    struct Polling {
        int firstPauseMs = -1; // before the first poll; -1: the same as pauseMs
        int pauseMs = 1000;    // before every later poll
        int maxPolls = 0;      // 0: no limit
        // Runs before each pause with the number of polls made so far.
        std::function<void(int polls)> beforePause;
        // The end condition; the default is a value of 0.
        std::function<bool(int value)> finished;
    };

    // owner: the page; when it is destroyed while events run, the operation
    // ends at once.
    LongOperation(Connection& connection, QObject* owner);

    // Waits ms on the connection's clock, letting pending events run. False
    // when the owner went away meanwhile.
    bool pause(int ms);

    // Polls command with QueryInt until the camera reports the end.
    Outcome pollUntil(const QByteArray& command, const Polling& polling);

    bool ownerAlive() const { return !m_owner.isNull(); }
    // The last value polled.
    int lastValue() const { return m_lastValue; }

private:
    Connection& m_connection;
    Connection::BusyScope m_busy;
    QPointer<QObject> m_owner;
    int m_lastValue = 0;
};
