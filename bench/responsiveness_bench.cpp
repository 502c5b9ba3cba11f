// How long the window goes without handling its events while the camera is
// waited for.
//
// On the real clock, offscreen, against the simulated PTM-TW640 at 115200
// baud: a timer asks for the window's attention every 10 ms, and the longest
// gap between two of its ticks is the longest stretch in which the window
// would not have repainted or answered a screen reader. Each scenario runs
// for at most its limit; then the port is closed, which ends whatever is
// still waiting. Scenarios:
//   start-up, slow camera: detection, identification, the first page, and
//     the pages read behind the panel, the camera taking 300 ms per answer
//     (camsim --slow 300);
//   then, with the panel up, for a slow and for a noisy camera (camsim
//   --garbage: every answer is noise): one setting sent, "Refresh" of the
//   first page, and "Save Settings…" (every page read for the file).
//
// Run: build/bench/bench_responsiveness   (about a minute)

#include "CameraLinkDlg.h"
#include "Clock.h"
#include "ControlPanelTovane.h"
#include "Link.h"
#include "Messages.h"
#include "PortBackend.h"
#include "SettingsTransfer.h"
#include "SimulatedPort.h"

#include <QApplication>
#include <QDateTime>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <functional>

namespace {

constexpr qint64 kSlowUs = 300000;

// The longest gap between ticks of a 10 ms timer while work() runs.
struct Gap {
    double longestMs = 0;
    double wallSeconds = 0;
};

Gap measure(Connection& connection, int limitMs, const std::function<void()>& work)
{
    Clock& clock = SteadyClock::instance();
    Gap gap;
    qint64 last = clock.nowUs();
    QTimer ticks;
    ticks.setInterval(10);
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        const qint64 now = clock.nowUs();
        gap.longestMs = qMax(gap.longestMs, (now - last) / 1000.0);
        last = now;
    });
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, [&connection] { connection.close(); });
    const qint64 start = clock.nowUs();
    ticks.start();
    limit.start(limitMs);
    work();
    const qint64 end = clock.nowUs();
    gap.longestMs = qMax(gap.longestMs, (end - last) / 1000.0);
    gap.wallSeconds = (end - start) / 1e6;
    return gap;
}

void report(const char* camera, const char* scenario, const Gap& gap)
{
    std::printf("| %s | %s | %.1f | %.1f |\n", camera, scenario, gap.wallSeconds, gap.longestMs);
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ScopedMessageHandler quiet([](const Message&) {});
    const QTemporaryDir directory;
    auto backend = std::make_shared<SimulatedPortBackend>(SteadyClock::instance());
    PortRegistry::instance().add(backend);
    const QString model = QStringLiteral("PTM-TW640");
    SimulatedCamera& camera = *backend->camera(model);
    camera.setListeningRate(115200);

    std::printf("| camera | what | wall s | longest unanswered ms |\n|---|---|---|---|\n");
    {
        camera.setExtraLatencyUs(kSlowUs);
        CCameraLinkDlg window(SteadyClock::instance());
        window.setPortChooser([model](const QString&, qint32) {
            return std::optional<PortChoice>({QString::fromLatin1(SimulatedPortBackend::kPrefix) + model, 38400});
        });
        report("slow 300 ms", "start-up, first page and the pages behind it (cut at 20 s)",
               measure(window.connection(), 20000, [&] { window.OnInitDialog(); }));
        window.close();
    }
    for (const bool garbage : {false, true}) {
        camera.setExtraLatencyUs(0);
        camera.setGarbageAnswers(false);
        CCameraLinkDlg window(SteadyClock::instance());
        window.setPortChooser([model](const QString&, qint32) {
            return std::optional<PortChoice>({QString::fromLatin1(SimulatedPortBackend::kPrefix) + model, 38400});
        });
        window.OnInitDialog();
        ControlPanel* panel = window.tovanePanel();
        if (!panel)
            return 1;
        const char* name = garbage ? "noisy" : "slow 300 ms";
        camera.setGarbageAnswers(garbage);
        camera.setExtraLatencyUs(garbage ? 0 : kSlowUs);
        const auto reopen = [&window] {
            if (!window.connection().isOpen())
                window.connection().attach(PortRegistry::instance().backendFor(window.connection().portName)
                                           .open(window.connection().portName).port);
        };
        report(name, "one setting sent (\"GAIN 12\")", measure(window.connection(), 20000, [&] {
                   window.sendPath().whenIdle([&] { window.sendPath().command("GAIN 12"); });
               }));
        reopen();
        report(name, "\"Refresh\" of the first page (cut at 10 s)",
               measure(window.connection(), 10000, [&] { panel->page(0)->LoadFromCamera(); }));
        reopen();
        report(name, "\"Save Settings…\" (cut at 10 s)", measure(window.connection(), 10000, [&] {
                   panel->settingsTransfer().saveTo(directory.filePath(QStringLiteral("camera.txt")),
                                                    QDateTime::currentDateTime());
               }));
        window.close();
    }
    PortRegistry::instance().remove(backend);
    return 0;
}
