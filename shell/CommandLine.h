#pragma once

#include "CameraLinkDlg.h"

#include <QString>
#include <QStringList>

#include <optional>

// What the command line asks of the start-up.
struct StartOptions {
    // --port NAME: opened at start-up instead of asking in the port dialog.
    QString portName;
    // --rate N: used as it is, without searching for the camera's rate.
    std::optional<qint32> baudRate;
    // --wire-log FILE: the wire log is appended to it, line by line, while
    // the application runs.
    QString wireLogPath;
};

// The command line read: either start with the options, or end at once with
// the exit code, after printing the text (help and version to standard
// output, a mistake to standard error).
struct CommandLine {
    StartOptions options;
    std::optional<int> exitCode;
    QString output;
    QString error;
};

// Reads the application's own options, which begin with "--" ("--port NAME"
// or "--port=NAME"). Qt's own options (single dash, "-platform offscreen")
// and their values are left to QApplication. Needs no QApplication, so that
// --help and --version work without a display.
CommandLine parseCommandLine(const QStringList& arguments);

// The port chooser of a start-up with these options: the first choice is the
// port named on the command line, without a dialog; a rate given there is used
// without detection (also when the port is chosen in the dialog). Every later
// choice goes to the dialog as usual.
PortChooser startPortChooser(const StartOptions& options, PortChooser dialog);
