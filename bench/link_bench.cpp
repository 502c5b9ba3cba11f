// Measures the serial link's own cost, on the real clock:
//  1. CPU time used while a 1.0 s time-out runs out (the wait must block, not
//     spin), over a pseudo-terminal with the system port and over a scripted
//     port;
//  2. the link's overhead per transaction beyond wire and camera time: a
//     camera that answers after a known delay, wall time minus that delay;
//  3. what the wire log adds to a round trip when every line is logged and
//     appended to a file;
//  4. what a network port adds to a round trip: the same pseudo-terminal
//     served by ser2net on the loopback, over RFC 2217 and over raw TCP.
// Prints one table. Run: build/bench/bench_link

#include "Clock.h"
#include "Connection.h"
#include "Link.h"
#include "Ports.h"
#include "PseudoTerminal.h"
#include "ScriptedPort.h"
#include "Ser2net.h"
#include "WireLog.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <poll.h>
#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <thread>

namespace {

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

struct Measurement {
    double wallSeconds = 0;
    double cpuSeconds = 0;
};

template <typename Work>
Measurement measure(Work work)
{
    SteadyClock& clock = SteadyClock::instance();
    const qint64 start = clock.nowUs();
    const double cpuStart = cpuSeconds();
    work();
    return {(clock.nowUs() - start) / 1e6, cpuSeconds() - cpuStart};
}

// The camera side of a pseudo-terminal: answers every line with its echo and
// "OK" unless told to stay silent.
class PtyCamera {
public:
    explicit PtyCamera(int masterFd) : m_fd(masterFd), m_thread([this] { run(); }) {}
    ~PtyCamera()
    {
        m_stop = true;
        m_thread.join();
    }
    std::atomic<bool> silent{false};

private:
    void run()
    {
        QByteArray pending;
        while (!m_stop) {
            pollfd fd{m_fd, POLLIN, 0};
            if (::poll(&fd, 1, 20) <= 0)
                continue;
            char buffer[256];
            const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
            if (n <= 0)
                continue;
            pending.append(buffer, n);
            qsizetype end;
            while ((end = pending.indexOf('\r')) >= 0) {
                const QByteArray line = pending.left(end);
                pending.remove(0, end + 1);
                if (!silent) {
                    const QByteArray answer = line + "\rOK\r";
                    ::write(m_fd, answer.constData(), answer.size());
                }
            }
        }
    }
    int m_fd;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

void printRow(const char* what, const char* port, double value, const char* unit, const char* goal)
{
    std::printf("| %-44s | %-16s | %10.3f %-3s | %-10s |\n", what, port, value, unit, goal);
}

} // namespace

int main(int argc, char* argv[])
{
    // Qt SerialPort wants an application object for its notifiers.
    QCoreApplication app(argc, argv);
    std::printf("| %-44s | %-16s | %14s | %-10s |\n", "measurement", "port", "result", "goal");
    std::printf("|%s|%s|%s|%s|\n", std::string(46, '-').c_str(), std::string(18, '-').c_str(),
                std::string(16, '-').c_str(), std::string(12, '-').c_str());

    PseudoTerminal pty;
    if (pty.isValid()) {
        PtyCamera camera(pty.masterFd());
        Connection connection(SteadyClock::instance());
        connection.attach(OpenPort(pty.slavePath(), 115200));

        camera.silent = true;
        const Measurement timeout = measure([&] { Transact(connection, "GAIN 12", 1.0); });
        printRow("CPU / wall while a 1.0 s time-out runs out", "pseudo-terminal",
                 100.0 * timeout.cpuSeconds / timeout.wallSeconds, "%", "< 2 %");

        camera.silent = false;
        Transact(connection, "GAIN 1", 1.0);
        constexpr int kRounds = 2000;
        const Measurement rounds = measure([&] {
            for (int i = 0; i < kRounds; ++i)
                Transact(connection, "GAIN 12", 1.0);
        });
        printRow("round trip per Transact, instant camera", "pseudo-terminal",
                 1000.0 * rounds.wallSeconds / kRounds, "ms", "< 1 ms");
        const Measurement queries = measure([&] {
            for (int i = 0; i < kRounds; ++i)
                QueryInt(connection, "GAIN");
        });
        printRow("round trip per QueryInt, instant camera", "pseudo-terminal",
                 1000.0 * queries.wallSeconds / kRounds, "ms", "< 1 ms");

        const QTemporaryDir directory;
        WireLog log;
        const auto logFile = WireLogFile::open(log, directory.filePath(QStringLiteral("wire.log")), nullptr);
        connection.setWireLog(&log);
        const Measurement logged = measure([&] {
            for (int i = 0; i < kRounds; ++i)
                Transact(connection, "GAIN 12", 1.0);
        });
        connection.setWireLog(nullptr);
        printRow("wire log added per Transact, file written", "pseudo-terminal",
                 1000.0 * (logged.wallSeconds - rounds.wallSeconds) / kRounds, "ms", "< 0.1 ms");

        // The pseudo-terminal is let go for ser2net to serve it.
        connection.close();
        Ser2net ser2net;
        const QString problem = ser2net.start(pty.slavePath(), 115200);
        if (!problem.isEmpty())
            std::printf("ser2net rows skipped: %s\n", qPrintable(problem));
        for (const QString& name : {ser2net.rfc2217Name(), ser2net.socketName()}) {
            if (!problem.isEmpty())
                break;
            Connection network(SteadyClock::instance());
            network.attach(OpenPort(name, 115200));
            Transact(network, "GAIN 1", 1.0);
            const Measurement served = measure([&] {
                for (int i = 0; i < kRounds; ++i)
                    Transact(network, "GAIN 12", 1.0);
            });
            const QByteArray kind = name.section(':', 0, 0).toLatin1() + "://";
            printRow("round trip per Transact through ser2net", kind.constData(),
                     1000.0 * served.wallSeconds / kRounds, "ms", "");
            printRow("added per Transact by ser2net (loopback)", kind.constData(),
                     1000.0 * (served.wallSeconds - rounds.wallSeconds) / kRounds, "ms", "< 1 ms");
            camera.silent = true;
            const Measurement silent = measure([&] { Transact(network, "GAIN 12", 1.0); });
            camera.silent = false;
            printRow("CPU / wall while a 1.0 s time-out runs out", kind.constData(),
                     100.0 * silent.cpuSeconds / silent.wallSeconds, "%", "< 2 %");
            // ser2net takes a moment to let go of the device before another
            // of its ports may open it.
            network.close();
            SteadyClock::instance().sleepMs(300);
        }
    } else {
        std::printf("no pseudo-terminal: system-port rows skipped\n");
    }

    {
        Connection connection(SteadyClock::instance());
        auto owned = std::make_unique<ScriptedPort>(SteadyClock::instance());
        ScriptedPort* camera = owned.get();
        connection.attach(std::move(owned));
        const Measurement timeout = measure([&] { Transact(connection, "GAIN 12", 1.0); });
        printRow("CPU / wall while a 1.0 s time-out runs out", "scripted",
                 100.0 * timeout.cpuSeconds / timeout.wallSeconds, "%", "< 2 %");

        // The camera answers 5 ms after the line: wire and camera time.
        constexpr double kCameraMs = 5.0;
        constexpr int kRounds = 200;
        camera->replyDelayMs = kCameraMs;
        camera->responder = [](const QByteArray& line) { return line + "\rOK\r"; };
        const Measurement rounds = measure([&] {
            for (int i = 0; i < kRounds; ++i)
                Transact(connection, "GAIN 12", 1.0);
        });
        printRow("overhead per Transact beyond camera time", "scripted",
                 1000.0 * rounds.wallSeconds / kRounds - kCameraMs, "ms", "< 1 ms");
        printRow("CPU / wall over those transactions", "scripted",
                 100.0 * rounds.cpuSeconds / rounds.wallSeconds, "%", "");
    }
    return 0;
}
