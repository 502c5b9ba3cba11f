#include "PseudoTerminal.h"

#include <asm/termbits.h>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

// glibc's <stdlib.h> clashes with <asm/termbits.h> over termios; declare the
// three pty calls needed here directly.
extern "C" {
int posix_openpt(int flags);
int grantpt(int fd);
int unlockpt(int fd);
int ptsname_r(int fd, char* buf, size_t buflen);
}

PseudoTerminal::PseudoTerminal()
{
    const int fd = posix_openpt(O_RDWR | O_NOCTTY);
    if (fd < 0)
        return;
    char name[128] = {};
    if (grantpt(fd) != 0 || unlockpt(fd) != 0 || ptsname_r(fd, name, sizeof name) != 0) {
        ::close(fd);
        return;
    }
    m_master = fd;
    m_slavePath = QString::fromLocal8Bit(name);
}

PseudoTerminal::~PseudoTerminal()
{
    if (m_master >= 0)
        ::close(m_master);
}

int PseudoTerminal::slaveBaudRate() const
{
    // On Linux the master side reports the termios of the pair, the rate set
    // through the slave included (non-standard rates via termios2).
    struct termios2 settings {};
    if (m_master < 0 || ::ioctl(m_master, TCGETS2, &settings) != 0)
        return -1;
    return static_cast<int>(settings.c_ospeed);
}

void PseudoTerminal::hangUp()
{
    if (m_master >= 0)
        ::close(m_master);
    m_master = -1;
}
