#pragma once

#include "CommandLine.h"

// The application object: registers the port backends, shows messages as
// message boxes, starts the main window and ends when it closes.
class CPK70App {
public:
    // The exit code when the port named on the command line does not open.
    static constexpr int kPortNotOpened = 1;

    // Names (which also place the profile), version and icon.
    static void setIdentity();

    int run(const StartOptions& options = {});
};

