#pragma once

// The application object: registers the port backends, shows messages as
// message boxes, starts the main window and ends when it closes.
class CPK70App {
public:
    // Organisation and application name: where the profile is kept.
    static void setIdentity();

    int run();
};
