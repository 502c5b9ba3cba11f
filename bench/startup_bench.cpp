// Time to a ready panel against the wire.
//
// For each simulated model and for 9600 and 115200 baud, on the real clock,
// runs the shell's sequence from an accepted port (baud detection,
// identification, the control panel with every page, offscreen) and compares
// the wall time with two floors taken from the simulated camera's own record.
// The wire floor: every byte on the wire in either direction at ten bit times
// at the rate in force, the camera's latency per command, the pauses the
// camera itself needs and the waits that can only run out (detection at a
// rate the camera does not listen at), where overlapping stretches count
// once. Today's floor adds the fixed pauses the protocol used to keep
// (detection's 100 ms per candidate, 100 ms before each TryQueryInt read)
// that waits spare now that they end with the answer. It also times the
// first page: the panel is usable once it shows, and that moment is compared
// with the wire floor up to it (detection, identification, the first
// page). Prints one table for all runs and a per-page breakdown.
//
// With --wire-log every run also logs the wire: the log appended to a file
// line by line and the "Wire Log" window open; without it the connection
// has no log at all. Comparing the two shows what logging costs the link.
//
// Run: build/bench/bench_startup [--wire-log] [--model M] [--rate R] [--repeat N]   (about 30 s for all)

#include "brevo/BrevoPages.h"
#include "CameraLinkDlg.h"
#include "Clock.h"
#include "PortBackend.h"
#include "SerialPortDlg.h"
#include "SimulatedPort.h"
#include "tovane/TovanePages.h"
#include "WireLog.h"

#include <QApplication>
#include <QEvent>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

namespace {

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Where in the camera's record, and in the list of pauses, a stretch begins.
struct Mark {
    size_t bytes = 0;
    size_t lines = 0;
    int commands = 0;
    size_t pauses = 0;
};

// A pause on the link: what it was, when it began and how long it was.
struct Pause {
    Connection::PauseKind kind;
    qint64 startUs;
    qint64 durationUs;
};

// Collects what a stretch of the exchange spent and adds it up. Both
// directions of the line and the camera's pauses run at the same time (the
// camera echoes each byte as it reads it), so the wire floor is the length
// of the union of their intervals, not their sum. The spared pauses lay
// after the answer they waited for, so today's floor adds them.
class Floor {
public:
    Floor(const SimulatedCamera& camera, const std::vector<Pause>& pauses)
        : m_camera(camera), m_pauses(pauses)
    {
    }

    Mark mark() const
    {
        const auto& record = m_camera.record();
        return {record.bytes.size(), record.lines.size(), record.commands, m_pauses.size()};
    }

    struct Stretch {
        int commands = 0;
        qint64 bytesToCamera = 0;
        qint64 bytesToHost = 0;
        double floorSeconds = 0;
        double todaysFloorSeconds = 0;
    };

    Stretch since(const Mark& from) const
    {
        const auto& record = m_camera.record();
        Stretch stretch;
        stretch.commands = record.commands - from.commands;
        std::vector<std::pair<qint64, qint64>> busy;
        for (size_t i = from.bytes; i < record.bytes.size(); ++i) {
            const auto& byte = record.bytes[i];
            (byte.direction == SimulatedCamera::Direction::ToCamera ? stretch.bytesToCamera : stretch.bytesToHost)++;
            busy.emplace_back(byte.atUs - SimulatedCamera::byteTimeNs(byte.rate) / 1000, byte.atUs);
        }
        for (size_t i = from.lines; i < record.lines.size(); ++i)
            busy.emplace_back(record.lines[i].atUs, record.lines[i].atUs + m_camera.latencyUs());
        qint64 sparedUs = 0;
        for (size_t i = from.pauses; i < m_pauses.size(); ++i) {
            const Pause& pause = m_pauses[i];
            if (pause.kind == Connection::PauseKind::Spared)
                sparedUs += pause.durationUs;
            else
                busy.emplace_back(pause.startUs, pause.startUs + pause.durationUs);
        }
        stretch.floorSeconds = unionLength(busy) / 1e6;
        stretch.todaysFloorSeconds = stretch.floorSeconds + sparedUs / 1e6;
        return stretch;
    }

private:
    static qint64 unionLength(std::vector<std::pair<qint64, qint64>> intervals)
    {
        std::sort(intervals.begin(), intervals.end());
        qint64 total = 0;
        qint64 coveredUntil = std::numeric_limits<qint64>::min();
        for (const auto& [begin, end] : intervals) {
            const qint64 from = std::max(begin, coveredUntil);
            if (end > from)
                total += end - from;
            coveredUntil = std::max(coveredUntil, end);
        }
        return total;
    }

    const SimulatedCamera& m_camera;
    const std::vector<Pause>& m_pauses;
};

struct PageTiming {
    QString model;
    qint32 rate;
    QString title;
    double wallSeconds;
    Floor::Stretch stretch;
};

struct Run {
    QString model;
    qint32 rate;
    Floor::Stretch stretch;
    double wallSeconds;
    // The tool's processor time against the wall time, without the
    // simulated camera's own work (a real camera has hardware of its own).
    double cpuShare;
    bool panelOpened;
    // The whole process's, the simulated camera's work included.
    double cpuShareWithCamera = 0;
    // From the start to the moment the panel showed its first page, and the
    // wire floor of that stretch; 0 when no panel showed.
    double firstPageSeconds = 0;
    double firstPageFloorSeconds = 0;
};

// Notes when the first control panel window is shown.
class PanelShowWatch : public QObject {
public:
    explicit PanelShowWatch(std::function<void()> onShown) : m_onShown(std::move(onShown))
    {
        qApp->installEventFilter(this);
    }
    ~PanelShowWatch() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && !m_seen && watched->inherits("ControlPanel")) {
            m_seen = true;
            m_onShown();
        }
        return false;
    }

private:
    std::function<void()> m_onShown;
    bool m_seen = false;
};

// Wraps the read of each page's settings so that it is timed against the
// part of the exchange it produced.
QList<PageEntry> timed(QList<PageEntry> pages, const Floor& floor, qint32 rate, std::vector<PageTiming>& timings,
                       const QString& model)
{
    for (PageEntry& entry : pages) {
        auto load = entry.load;
        const QString title = entry.title;
        entry.load = [=, &floor, &timings](PageSettings& settings) {
            const Mark before = floor.mark();
            const qint64 start = SteadyClock::instance().nowUs();
            load(settings);
            const double wall = (SteadyClock::instance().nowUs() - start) / 1e6;
            timings.push_back({model, rate, title, wall, floor.since(before)});
        };
    }
    return pages;
}

// Where the runs log the wire; none when logging is off.
struct WireLogging {
    QString filePath;
    bool on() const { return !filePath.isEmpty(); }
};

Run measure(const QString& model, qint32 rate, std::vector<PageTiming>& timings, const WireLogging& logging)
{
    auto backend = std::make_shared<SimulatedPortBackend>(SteadyClock::instance());
    PortRegistry::instance().add(backend);
    SimulatedCamera& camera = *backend->camera(model);
    camera.setListeningRate(rate);
    camera.clearRecord();
    camera.setCountingCpuTime(true);

    Run run{model, rate, {}, 0, 0, false};
    {
        std::vector<Pause> pauses;
        const Floor floor(camera, pauses);
        CCameraLinkDlg window(SteadyClock::instance());
        window.connection().setPauseObserver([&pauses](Connection::PauseKind kind, qint64 startUs, qint64 durationUs) {
            pauses.push_back({kind, startUs, durationUs});
        });
        window.setPortChooser([model](const QString&, qint32) {
            return std::optional<PortChoice>({QString::fromLatin1(SimulatedPortBackend::kPrefix) + model, 38400});
        });
        window.setPageLists(timed(brevoPages(), floor, rate, timings, model),
                            timed(tovanePages(), floor, rate, timings, model));
        std::unique_ptr<WireLogFile> logFile;
        if (logging.on()) {
            QString error;
            logFile = WireLogFile::open(window.wireLog(), logging.filePath, &error);
            if (!logFile)
                std::fprintf(stderr, "bench_startup: %s\n", qPrintable(error));
            window.showWireLog();
        } else {
            window.connection().setWireLog(nullptr);
        }

        // The user chose the port in the port dialog, which was on the
        // screen before the start-up measured here begins.
        {
            CSerialPortDlg portDialog(QString::fromLatin1(SimulatedPortBackend::kPrefix) + model, 38400);
            portDialog.show();
            QCoreApplication::processEvents();
        }
        QCoreApplication::processEvents();
        const Mark before = floor.mark();
        const double cpuStart = cpuSeconds();
        const qint64 cameraCpuStartNs = camera.cpuTimeNs();
        const qint64 start = SteadyClock::instance().nowUs();
        const PanelShowWatch watch([&] {
            run.firstPageSeconds = (SteadyClock::instance().nowUs() - start) / 1e6;
            run.firstPageFloorSeconds = floor.since(before).floorSeconds;
        });
        window.OnInitDialog();
        run.wallSeconds = (SteadyClock::instance().nowUs() - start) / 1e6;
        const double processCpu = cpuSeconds() - cpuStart;
        const double cameraCpu = (camera.cpuTimeNs() - cameraCpuStartNs) / 1e9;
        run.cpuShare = (processCpu - cameraCpu) / run.wallSeconds;
        run.cpuShareWithCamera = processCpu / run.wallSeconds;
        run.panelOpened = window.brevoPanel() != nullptr || window.tovanePanel() != nullptr;
        run.stretch = floor.since(before);
        window.connection().setPauseObserver({});
        window.close();
    }
    PortRegistry::instance().remove(backend);
    return run;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QTemporaryDir logDirectory;
    WireLogging logging;
    if (QCoreApplication::arguments().contains(QStringLiteral("--wire-log")))
        logging.filePath = logDirectory.filePath(QStringLiteral("wire.log"));
    std::printf("Wire log: %s\n\n", logging.on() ? "on (appended to a file, the Wire Log window open)" : "off");

    // --model M and --rate R narrow the runs, for profiling one of them.
    const QStringList arguments = QCoreApplication::arguments();
    const auto option = [&arguments](const QString& name) {
        const qsizetype at = arguments.indexOf(name);
        return at >= 0 && at + 1 < arguments.size() ? arguments.at(at + 1) : QString();
    };
    const QString onlyModel = option(QStringLiteral("--model"));
    const qint32 onlyRate = option(QStringLiteral("--rate")).toInt();
    // --repeat N runs each of them N times: a profile of one process is then
    // mostly the runs, and the first run shows what a fresh process adds.
    const int repeat = qMax(1, option(QStringLiteral("--repeat")).toInt());

    std::vector<Run> runs;
    std::vector<PageTiming> timings;
    for (const QString& model : simulatedModels()) {
        for (const qint32 rate : {9600, 115200}) {
            if ((onlyModel.isEmpty() || model == onlyModel) && (onlyRate == 0 || rate == onlyRate))
                for (int i = 0; i < repeat; ++i)
                    runs.push_back(measure(model, rate, timings, logging));
        }
    }

    // Goals: the whole panel within 1.15 times the wire floor at most 5 % of
    // it on the CPU; the first page within 1.2 times its wire floor.
    std::printf("| model | baud | panel | exchanges | bytes to camera | bytes to host | wall s | wire floor s | "
                "wall/wire floor | today's floor s | CPU/wall | with the camera | first page s | its wire floor s | first/floor |\n");
    std::printf("|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|\n");
    for (const Run& run : runs) {
        const Floor::Stretch& s = run.stretch;
        std::printf("| %s | %d | %s | %d | %lld | %lld | %.3f | %.3f | %.3f | %.3f | %.1f %% | %.1f %% |", qPrintable(run.model),
                    run.rate, run.panelOpened ? "yes" : "no", s.commands, static_cast<long long>(s.bytesToCamera),
                    static_cast<long long>(s.bytesToHost), run.wallSeconds, s.floorSeconds,
                    run.wallSeconds / s.floorSeconds, s.todaysFloorSeconds, 100.0 * run.cpuShare,
                    100.0 * run.cpuShareWithCamera);
        if (run.firstPageFloorSeconds > 0)
            std::printf(" %.3f | %.3f | %.3f |\n", run.firstPageSeconds, run.firstPageFloorSeconds,
                        run.firstPageSeconds / run.firstPageFloorSeconds);
        else
            std::printf(" – | – | – |\n");
    }

    std::printf("\nPer-page load (the read of each page's settings):\n\n");
    std::printf("| model | baud | page | exchanges | wall ms | floor ms | above floor ms |\n");
    std::printf("|---|---|---|---|---|---|---|\n");
    for (const PageTiming& page : timings) {
        std::printf("| %s | %d | %s | %d | %.1f | %.1f | %.1f |\n", qPrintable(page.model), page.rate,
                    qPrintable(page.title), page.stretch.commands, 1000.0 * page.wallSeconds,
                    1000.0 * page.stretch.floorSeconds, 1000.0 * (page.wallSeconds - page.stretch.floorSeconds));
    }
    return 0;
}
