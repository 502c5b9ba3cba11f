#pragma once

#include "Clock.h"
#include "PtyDevice.h"
#include "SimulatedCamera.h"

// Serves one simulated camera on a pseudo-terminal in real time: what the
// client writes goes to the camera at the rate the client set on the
// terminal, and the camera's bytes go back as the wire timing releases them.
// Sleeps in poll() between events, never spins.
class CamsimServer {
public:
    CamsimServer(SimulatedCamera& camera, PtyDevice& pty, Clock& clock);

    // Hang up after this many commands have been answered (0: never).
    void setDropAfter(int commands) { m_dropAfter = commands; }

    // Runs until one of the blocked signals arrives on signalFd, or until the
    // line is dropped. Returns the exit code.
    int run(int signalFd);

private:
    void deliver(qint64 nowUs);
    void takeIn(qint64 nowUs);

    SimulatedCamera& m_camera;
    PtyDevice& m_pty;
    Clock& m_clock;
    int m_dropAfter = 0;
    std::optional<qint64> m_hangUpAtUs;
};
