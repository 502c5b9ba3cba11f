#include "PtyDevice.h"

// termios2 (for rates such as 14400) lives in the kernel's header, which
// clashes with glibc's <termios.h>; the pty calls are declared here instead of
// pulling in <stdlib.h>'s view of them.
#include <asm/termbits.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

extern "C" {
int posix_openpt(int flags);
int grantpt(int fd);
int unlockpt(int fd);
int ptsname_r(int fd, char* buf, size_t buflen);
}

PtyDevice::~PtyDevice()
{
    hangUp();
}

bool PtyDevice::open(qint32 rate)
{
    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    char name[128] = {};
    if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0
        || ptsname_r(m_master, name, sizeof name) != 0) {
        m_error = QStringLiteral("cannot open a pseudo-terminal: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        hangUp();
        return false;
    }
    m_slavePath = QString::fromLocal8Bit(name);
    m_slave = ::open(name, O_RDWR | O_NOCTTY);
    if (m_slave < 0) {
        m_error = QStringLiteral("cannot open %1: %2").arg(m_slavePath, QString::fromLocal8Bit(std::strerror(errno)));
        hangUp();
        return false;
    }
    // Raw: no echo by the line discipline, no translation, eight data bits.
    struct termios2 settings {};
    if (::ioctl(m_slave, TCGETS2, &settings) == 0) {
        settings.c_iflag &= ~tcflag_t(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF);
        settings.c_oflag &= ~tcflag_t(OPOST);
        settings.c_lflag &= ~tcflag_t(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
        settings.c_cflag &= ~tcflag_t(CSIZE | PARENB | CSTOPB | CBAUD);
        settings.c_cflag |= CS8 | CREAD | CLOCAL | BOTHER;
        settings.c_ispeed = speed_t(rate);
        settings.c_ospeed = speed_t(rate);
        settings.c_cc[VMIN] = 1;
        settings.c_cc[VTIME] = 0;
        ::ioctl(m_slave, TCSETS2, &settings);
    }
    return true;
}

qint32 PtyDevice::clientRate() const
{
    // Asked on the master side, the kernel answers with the slave's settings.
    struct termios2 settings {};
    if (m_master < 0 || ::ioctl(m_master, TCGETS2, &settings) != 0)
        return -1;
    return qint32(settings.c_ospeed);
}

void PtyDevice::hangUp()
{
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
    m_slave = -1;
    m_master = -1;
}
