#pragma once

#include "CtlOptions.h"

#include <QIODevice>
#include <QStringList>

class CameraSession;
class Clock;
struct LineAnswer;

// pk70ctl's work, apart from the process: opens the port (a camera session
// through the port backends registered with the process), finds the rate
// when none is given, sends each command line and prints what came back.
// Command lines holding a control character are refused before anything is
// sent (from a file, before any of its lines is sent). Tests run it in the
// same process on a virtual clock against simulated cameras.
class CtlRunner {
public:
    enum ExitStatus { AllAccepted = 0, Refused = 1, NoCamera = 2 };

    CtlRunner(Clock& clock, QIODevice& out, QIODevice& err, QIODevice& in);

    // Runs the arguments after the program name; returns the exit status.
    int run(const QStringList& arguments);

private:
    // Finds the rate unless one is given, then runs the commands.
    int runOnOpenPort(CameraSession& session, const CtlOptions& options, CommandSource& commands);
    void printAnswer(const CtlOptions& options, const QByteArray& command, const LineAnswer& answer,
                     const QString& reason, qint64 ms);
    int fail(const QString& message);
    static QString portWentAway(const QString& port, const QString& when);

    Clock& m_clock;
    QIODevice& m_out;
    QIODevice& m_err;
    QIODevice& m_in;
};
