#include "GensioLoop.h"

#include <gensio/gensio.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include <netdb.h>
#include <pthread.h>
#include <signal.h>
#include <sys/socket.h>

namespace {

constexpr int kWakeSignal = SIGUSR1;
// At most this many addresses of a host are tried, in the order the
// resolver gives them.
constexpr int kMostAddresses = 4;

void ignoreWake(int) {}

// A wake that reached a thread with the default action would end the process.
void installWakeHandler()
{
    struct sigaction current {};
    sigaction(kWakeSignal, nullptr, &current);
    if (current.sa_handler != SIG_DFL && current.sa_handler != SIG_IGN)
        return;
    struct sigaction action {};
    action.sa_handler = ignoreWake;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(kWakeSignal, &action, nullptr);
}

// The library reports its own trouble through this; the port reports what
// matters to the user itself.
void dropLog(gensio_os_funcs*, enum gensio_log_levels, const char*, va_list) {}

class Loop {
public:
    Loop()
    {
        installWakeHandler();
        if (gensio_default_os_hnd(kWakeSignal, &m_funcs) != 0) {
            m_funcs = nullptr;
            return;
        }
        gensio_os_funcs_set_vlog(m_funcs, dropLog);
        m_stop = gensio_os_funcs_alloc_waiter(m_funcs);
        if (!m_stop) {
            m_funcs = nullptr;
            return;
        }
        m_thread = std::thread([this] {
            sigset_t wake;
            sigemptyset(&wake);
            sigaddset(&wake, kWakeSignal);
            pthread_sigmask(SIG_BLOCK, &wake, nullptr);
            // Serves every connection until the process ends.
            gensio_os_funcs_wait(m_funcs, m_stop, 1, nullptr);
        });
    }

    ~Loop()
    {
        if (!m_thread.joinable())
            return;
        gensio_os_funcs_wake(m_funcs, m_stop);
        m_thread.join();
    }

    gensio_os_funcs* funcs() const { return m_funcs; }

private:
    gensio_os_funcs* m_funcs = nullptr;
    gensio_waiter* m_stop = nullptr;
    std::thread m_thread;
};

struct Lookup {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    ResolvedHost result;
};

QString addressesOf(const addrinfo* list, quint16 port)
{
    QStringList addresses;
    for (const addrinfo* entry = list; entry && addresses.size() < kMostAddresses; entry = entry->ai_next) {
        if (entry->ai_family != AF_INET && entry->ai_family != AF_INET6)
            continue;
        char text[NI_MAXHOST] = {};
        if (getnameinfo(entry->ai_addr, entry->ai_addrlen, text, sizeof text, nullptr, 0, NI_NUMERICHOST) != 0)
            continue;
        const QString address = QStringLiteral("%1,%2,%3")
                                    .arg(entry->ai_family == AF_INET ? QStringLiteral("ipv4") : QStringLiteral("ipv6"),
                                         QString::fromLatin1(text))
                                    .arg(port);
        if (!addresses.contains(address))
            addresses.append(address);
    }
    return addresses.join(QLatin1Char(','));
}

QString lookupProblem(int error)
{
    switch (error) {
    case EAI_NONAME:
#ifdef EAI_NODATA
    case EAI_NODATA:
#endif
        return QStringLiteral("the host is not known");
    case EAI_AGAIN:
        return QStringLiteral("the name server does not answer");
    default:
        return QStringLiteral("the host name cannot be looked up (%1)").arg(QString::fromLocal8Bit(gai_strerror(error)));
    }
}

} // namespace

gensio_os_funcs* GensioLoop::osFuncs()
{
    static Loop loop;
    return loop.funcs();
}

ResolvedHost resolveHost(const QString& host, quint16 port, int timeoutMs)
{
    auto lookup = std::make_shared<Lookup>();
    // Detached: a lookup the caller gave up on finishes on its own and only
    // then lets go of its share of the result.
    std::thread([lookup, name = host.toUtf8(), port] {
        addrinfo hints {};
        hints.ai_family = AF_UNSPEC;
        hints.ai_socktype = SOCK_STREAM;
        hints.ai_flags = AI_ADDRCONFIG;
        addrinfo* list = nullptr;
        const int error = getaddrinfo(name.constData(), nullptr, &hints, &list);
        ResolvedHost result;
        if (error == 0)
            result.addresses = addressesOf(list, port);
        if (list)
            freeaddrinfo(list);
        if (error != 0)
            result.problem = lookupProblem(error);
        else if (result.addresses.isEmpty())
            result.problem = QStringLiteral("the host has no internet address");
        std::lock_guard lock(lookup->mutex);
        lookup->result = result;
        lookup->finished = true;
        lookup->done.notify_all();
    }).detach();

    std::unique_lock lock(lookup->mutex);
    if (!lookup->done.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return lookup->finished; }))
        return {QString(), QStringLiteral("the name server did not answer in time")};
    return lookup->result;
}
