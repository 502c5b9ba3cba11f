// camsim: a simulated camera on a pseudo-terminal. Any program that talks to
// a serial port (the application, a terminal program) can open the printed
// device and control the camera as if it were attached.

#include "CamsimServer.h"
#include "Clock.h"
#include "PtyDevice.h"
#include "SimulatedCamera.h"
#include "SimulatedPort.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <cstdio>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace {

QString printable(const QByteArray& line)
{
    QString text;
    for (const char c : line) {
        const uchar u = uchar(c);
        if (u >= 0x20 && u < 0x7f && c != '\\' && c != '"')
            text += QChar(c);
        else
            text += QStringLiteral("\\x%1").arg(u, 2, 16, QChar('0'));
    }
    return text;
}

int fail(const QString& message)
{
    std::fprintf(stderr, "camsim: %s\n", qPrintable(message));
    return 2;
}

// A symlink at a fixed path to the device; an existing link is replaced,
// anything else at that path is left alone.
bool makeLink(const QString& linkPath, const QString& target, QString& error)
{
    const QFileInfo existing(linkPath);
    if (existing.isSymLink()) {
        QFile::remove(linkPath);
    } else if (existing.exists()) {
        error = QStringLiteral("%1 exists and is not a symbolic link").arg(linkPath);
        return false;
    }
    if (::symlink(QFile::encodeName(target).constData(), QFile::encodeName(linkPath).constData()) != 0) {
        error = QStringLiteral("cannot create the link %1").arg(linkPath);
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("camsim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Serves a simulated camera on a pseudo-terminal and prints the device path on the first\n"
                       "line of its output. Open that device with any serial program at the camera's rate:\n"
                       "the camera echoes each byte, answers a line ended by a carriage return with value\n"
                       "lines and OK (or NG/ERROR), and understands nothing sent at another rate.\n"
                       "Models: %1. Stop with Ctrl+C.")
            .arg(simulatedModels().join(QStringLiteral(", "))));
    parser.addHelpOption();
    const QCommandLineOption modelOption({QStringLiteral("m"), QStringLiteral("model")},
                                         QStringLiteral("The camera model (default PTM-TW640)."), QStringLiteral("name"),
                                         QStringLiteral("PTM-TW640"));
    const QCommandLineOption rateOption({QStringLiteral("r"), QStringLiteral("rate")},
                                        QStringLiteral("The rate the camera listens at (default 9600); any rate, "
                                                       "such as 14400."),
                                        QStringLiteral("baud"), QStringLiteral("9600"));
    const QCommandLineOption latencyOption(QStringLiteral("latency"),
                                           QStringLiteral("Time from a line's end to its answer (default 1)."),
                                           QStringLiteral("ms"), QStringLiteral("1"));
    const QCommandLineOption logOption(QStringLiteral("log"),
                                       QStringLiteral("Write every line received, with its time, to this file."),
                                       QStringLiteral("file"));
    const QCommandLineOption linkOption(QStringLiteral("link"),
                                        QStringLiteral("Also make a symbolic link at this path to the device."),
                                        QStringLiteral("path"));
    const QCommandLineOption silentOption(QStringLiteral("silent"),
                                          QStringLiteral("Fault: the camera reads nothing and never answers."));
    const QCommandLineOption slowOption(QStringLiteral("slow"),
                                        QStringLiteral("Fault: every answer comes this much later."),
                                        QStringLiteral("ms"));
    const QCommandLineOption garbageOption(QStringLiteral("garbage"),
                                           QStringLiteral("Fault: everything the camera sends is noise."));
    const QCommandLineOption overlongOption(QStringLiteral("overlong"),
                                            QStringLiteral("Fault: every answer starts with a line this long."),
                                            QStringLiteral("chars"));
    const QCommandLineOption refuseOption(QStringLiteral("refuse"),
                                          QStringLiteral("Fault: answer NG to this command word (repeatable)."),
                                          QStringLiteral("word"));
    const QCommandLineOption dropOption(QStringLiteral("drop-after"),
                                        QStringLiteral("Fault: hang up after this many commands and exit."),
                                        QStringLiteral("count"));
    const QCommandLineOption endlessOption(QStringLiteral("endless-detections"),
                                           QStringLiteral("Fault: shading and defect detections never finish."));
    parser.addOptions({modelOption, rateOption, latencyOption, logOption, linkOption, silentOption, slowOption,
                       garbageOption, overlongOption, refuseOption, dropOption, endlessOption});
    parser.process(app);

    const QString model = parser.value(modelOption);
    if (!simulatedModels().contains(model))
        return fail(QStringLiteral("unknown model %1 (models: %2)").arg(model, simulatedModels().join(", ")));
    bool ok = false;
    const qint32 rate = parser.value(rateOption).toInt(&ok);
    if (!ok || rate <= 0)
        return fail(QStringLiteral("the rate must be a positive number"));
    const double latencyMs = parser.value(latencyOption).toDouble(&ok);
    if (!ok || latencyMs < 0)
        return fail(QStringLiteral("the latency must be a number of milliseconds"));

    SimulatedCamera camera(model);
    camera.setListeningRate(rate);
    camera.setLatencyUs(qint64(latencyMs * 1000.0));
    camera.setRecordingBytes(false);
    camera.setSilent(parser.isSet(silentOption));
    camera.setGarbageAnswers(parser.isSet(garbageOption));
    if (parser.isSet(slowOption))
        camera.setExtraLatencyUs(qint64(parser.value(slowOption).toDouble() * 1000.0));
    if (parser.isSet(overlongOption))
        camera.setOverlongAnswers(parser.value(overlongOption).toInt());
    for (const QString& word : parser.values(refuseOption))
        camera.refuseCommand(word);
    camera.setDetectionsNeverFinish(parser.isSet(endlessOption));

    QFile log;
    QTextStream logStream;
    if (parser.isSet(logOption)) {
        log.setFileName(parser.value(logOption));
        if (!log.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
            return fail(QStringLiteral("cannot write %1").arg(log.fileName()));
        logStream.setDevice(&log);
        camera.setLineObserver([&logStream](qint64, const QByteArray& line) {
            logStream << QDateTime::currentDateTime().toString(Qt::ISODateWithMs) << "  \"" << printable(line)
                      << "\"\n";
            logStream.flush();
        });
    }

    // Signals arrive as readable events in the poll loop.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    for (const int s : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&stopSignals, s);
    sigprocmask(SIG_BLOCK, &stopSignals, nullptr);
    const int signalFd = ::signalfd(-1, &stopSignals, SFD_CLOEXEC);
    if (signalFd < 0)
        return fail(QStringLiteral("cannot watch for signals"));

    PtyDevice pty;
    if (!pty.open(rate))
        return fail(pty.errorText());
    const QString linkPath = parser.value(linkOption);
    if (!linkPath.isEmpty()) {
        QString error;
        if (!makeLink(linkPath, pty.slavePath(), error))
            return fail(error);
    }

    std::printf("%s\n", qPrintable(pty.slavePath()));
    std::fflush(stdout);
    std::fprintf(stderr, "camsim: %s listening at %d baud on %s%s\n", qPrintable(model), rate,
                 qPrintable(pty.slavePath()), linkPath.isEmpty() ? "" : qPrintable(" (" + linkPath + ")"));

    CamsimServer server(camera, pty, SteadyClock::instance());
    if (parser.isSet(dropOption))
        server.setDropAfter(parser.value(dropOption).toInt());
    const int code = server.run(signalFd);

    if (!linkPath.isEmpty() && QFileInfo(linkPath).symLinkTarget() == pty.slavePath())
        QFile::remove(linkPath);
    ::close(signalFd);
    return code;
}
