#pragma once

#include "CtlOptions.h"

#include <QIODevice>
#include <QStringList>

class Clock;

// pk70ctl's work, apart from the process: checks the arguments and the files
// named in them before any port is touched, then runs every port named
// (PortRun.h), each on its own thread and link, and ends with the worst exit
// status of them. Command lines holding a control character are refused
// before anything is sent (from a file, before any of its lines is sent).
// Tests run it in the same process on a virtual clock against simulated
// cameras, the ports one after another.
class CtlRunner {
public:
    enum ExitStatus { AllAccepted = 0, Refused = 1, NoCamera = 2 };

    CtlRunner(Clock& clock, QIODevice& out, QIODevice& err, QIODevice& in);

    // One port after another on the calling thread instead of all at once
    // (a virtual clock is no clock for several threads).
    void runPortsInTurn() { m_inTurn = true; }

    // Runs the arguments after the program name; returns the exit status.
    int run(const QStringList& arguments);

private:
    int fail(const QString& message);

    Clock& m_clock;
    QIODevice& m_out;
    QIODevice& m_err;
    QIODevice& m_in;
    bool m_inTurn = false;
};
