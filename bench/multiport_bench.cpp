// Measures pk70ctl on several ports at once: a 50-line file applied to one
// camera, and to 16 cameras, each a camsim process on its own
// pseudo-terminal at 9600 baud. Every port runs on its own link, so 16
// cameras should take about as long as one (the goal: at most 1.3 times).
// Each figure is the median of five runs of the real program.
// Run: build/bench/bench_multiport [cameras]

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int kLines = 50;
constexpr int kRuns = 5;

// A camsim serving one camera; the device path is its first line of output.
struct Camsim {
    QProcess process;
    QString device;

    bool start()
    {
        process.start(QStringLiteral(PK_CAMSIM_PATH), {"--model", "PTM-TW640M", "--rate", "9600"});
        if (!process.waitForStarted(5000))
            return false;
        while (!process.canReadLine() && process.waitForReadyRead(5000)) {
        }
        device = QString::fromLocal8Bit(process.readLine()).trimmed();
        return device.startsWith(QLatin1String("/dev/"));
    }

    ~Camsim()
    {
        process.terminate();
        if (!process.waitForFinished(3000))
            process.kill();
        process.waitForFinished(1000);
    }
};

// Seconds one run of pk70ctl takes to apply the file to the devices; a
// negative figure when it failed.
double applySeconds(const QString& file, const QStringList& devices)
{
    QStringList arguments;
    for (const QString& device : devices)
        arguments << "--port" << device;
    arguments << "--rate" << "9600" << "-f" << file;
    QProcess pk70ctl;
    QElapsedTimer timer;
    timer.start();
    pk70ctl.start(QStringLiteral(PK70CTL_PATH), arguments);
    if (!pk70ctl.waitForFinished(120000) || pk70ctl.exitStatus() != QProcess::NormalExit || pk70ctl.exitCode() != 0) {
        std::fprintf(stderr, "pk70ctl failed: %s\n", pk70ctl.readAllStandardError().constData());
        return -1;
    }
    return timer.elapsed() / 1000.0;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    const int count = argc > 1 ? std::max(2, QByteArray(argv[1]).toInt()) : 16;

    QTemporaryDir directory;
    const QString file = directory.filePath(QStringLiteral("settings.txt"));
    {
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly))
            return 2;
        for (int i = 0; i < kLines; ++i)
            out.write(i % 2 ? "BLACKLEVEL " + QByteArray::number(i) + '\n' : "GAIN-FINE " + QByteArray::number(i) + '\n');
    }

    std::vector<std::unique_ptr<Camsim>> cameras;
    QStringList devices;
    for (int i = 0; i < count; ++i) {
        cameras.push_back(std::make_unique<Camsim>());
        if (!cameras.back()->start()) {
            std::fprintf(stderr, "camsim %d did not start\n", i + 1);
            return 2;
        }
        devices << cameras.back()->device;
    }

    std::vector<double> one;
    std::vector<double> all;
    for (int run = 0; run < kRuns; ++run) {
        one.push_back(applySeconds(file, devices.mid(0, 1)));
        all.push_back(applySeconds(file, devices));
    }
    if (*std::min_element(one.begin(), one.end()) < 0 || *std::min_element(all.begin(), all.end()) < 0)
        return 2;
    const double oneSeconds = median(one);
    const double allSeconds = median(all);
    std::printf("%d-line file at 9600 baud, camsim on pseudo-terminals, median of %d runs\n", kLines, kRuns);
    std::printf("  1 camera:   %6.2f s\n", oneSeconds);
    std::printf("  %d cameras: %6.2f s   (%.2f times one camera; goal at most 1.30)\n", count, allSeconds,
                allSeconds / oneSeconds);
    return allSeconds <= 1.3 * oneSeconds ? 0 : 1;
}
