#pragma once

#include <QString>
#include <QStringList>

struct gensio_os_funcs;

// The gensio library's event handling for the whole process: one thread of
// its own waits on the network connections and runs the library's callbacks,
// so the connections move on while the user-interface thread does something
// else, and a wait on a port never runs the library from inside the window's
// event loop. The library wakes that thread with a signal (SIGUSR1), blocked
// there and given a handler that does nothing, so that it never ends the
// process.
class GensioLoop {
public:
    // The library's operating-system functions, started on first use; null
    // when the library cannot start.
    static gensio_os_funcs* osFuncs();
};

// The addresses a host name stands for, in the form gensio's tcp takes them
// ("ipv4,192.0.2.7,2217,ipv6,2001:db8::7,2217"), or why there are none.
struct ResolvedHost {
    QString addresses;
    // Empty when addresses were found.
    QString problem;
};

// Looks the host up on a thread of its own, so that a name server that does
// not answer cannot hold the caller past timeoutMs.
ResolvedHost resolveHost(const QString& host, quint16 port, int timeoutMs);
