#include "CamsimServer.h"

#include <cerrno>
#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <time.h>
#include <unistd.h>

namespace {

// Bytes due within this much time go out together, which bounds how often
// the loop wakes at high rates.
constexpr qint64 kMinimumSleepUs = 200;
constexpr qint64 kHangUpGraceUs = 200000;

} // namespace

CamsimServer::CamsimServer(SimulatedCamera& camera, PtyDevice& pty, Clock& clock)
    : m_camera(camera), m_pty(pty), m_clock(clock)
{
}

void CamsimServer::deliver(qint64 nowUs)
{
    // The client hears the camera only at the camera's rate; the terminal's
    // rate is read again for every batch, since the client may change it.
    if (!m_camera.nextEventUs())
        return;
    const QByteArray bytes = m_camera.takeOutput(nowUs, m_pty.clientRate());
    if (bytes.isEmpty())
        return;
    // Nobody reading and the terminal's buffer full: the bytes are lost, as
    // on a real line.
    const ssize_t written = ::write(m_pty.masterFd(), bytes.constData(), size_t(bytes.size()));
    Q_UNUSED(written);
}

void CamsimServer::takeIn(qint64 nowUs)
{
    char buffer[512];
    for (;;) {
        const ssize_t n = ::read(m_pty.masterFd(), buffer, sizeof buffer);
        if (n <= 0)
            return;
        m_camera.receive(QByteArray(buffer, int(n)), m_pty.clientRate(), nowUs);
    }
}

int CamsimServer::run(int signalFd)
{
    for (;;) {
        const qint64 now = m_clock.nowUs();
        deliver(now);
        std::optional<qint64> next = m_camera.nextEventUs();
        if (m_dropAfter > 0 && m_camera.record().commands >= m_dropAfter && !next) {
            // The last answer is out; give the client a moment to read it.
            if (!m_hangUpAtUs)
                m_hangUpAtUs = now + kHangUpGraceUs;
            if (now >= *m_hangUpAtUs) {
                m_pty.hangUp();
                return 0;
            }
            next = m_hangUpAtUs;
        }

        pollfd fds[2] = {{m_pty.masterFd(), POLLIN, 0}, {signalFd, POLLIN, 0}};
        timespec timeout{};
        timespec* wait = nullptr;
        if (next) {
            const qint64 us = qMax(kMinimumSleepUs, *next - now);
            timeout.tv_sec = time_t(us / 1000000);
            timeout.tv_nsec = long((us % 1000000) * 1000);
            wait = &timeout;
        }
        const int ready = ::ppoll(fds, 2, wait, nullptr);
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            return 1;
        }
        if (fds[1].revents & POLLIN)
            return 0;
        if (fds[0].revents & POLLIN)
            takeIn(m_clock.nowUs());
        if (fds[0].revents & (POLLERR | POLLNVAL))
            return 1;
    }
}
