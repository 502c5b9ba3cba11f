#include "CtlRunner.h"

#include "CtlOutput.h"
#include "PortRun.h"
#include "SendableLine.h"

#include <QFile>
#include <QThread>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

// The lines of a command file, or the message that tells why it is none:
// checked as "Apply Settings…" checks a file, all before anything is sent.
std::optional<QByteArrayList> commandFileLines(QIODevice& device, const QString& name, QString& error)
{
    const SettingsFileReading reading = readSettingsDevice(device, name);
    if (!reading.contents) {
        error = reading.error + QStringLiteral(" Nothing was sent.");
        return std::nullopt;
    }
    QByteArrayList lines;
    for (const SettingsFileLine& line : reading.contents->lines) {
        if (controlCharacterIn(line.text) >= 0) {
            error = QStringLiteral("%1: %2; nothing was sent").arg(name, unsendableCommandError(line.text));
            return std::nullopt;
        }
        lines.append(line.text);
    }
    return lines;
}

} // namespace

CtlRunner::CtlRunner(Clock& clock, QIODevice& out, QIODevice& err, QIODevice& in)
    : m_clock(clock), m_out(out), m_err(err), m_in(in)
{
}

int CtlRunner::fail(const QString& message)
{
    m_err.write(QStringLiteral("pk70ctl: %1\n").arg(message).toLocal8Bit());
    return NoCamera;
}

int CtlRunner::run(const QStringList& arguments)
{
    const ParsedCtlArguments parsed = parseCtlArguments(arguments);
    const CtlOptions& options = parsed.options;
    if (options.help) {
        m_out.write(ctlHelpText().toLocal8Bit());
        return AllAccepted;
    }
    if (!parsed.error.isEmpty())
        return fail(parsed.error + QStringLiteral("\nTry pk70ctl --help."));

    // Every file is read before a port is touched: a wrong name sends nothing.
    QStringList ports = options.ports;
    if (!options.portsFile.isEmpty()) {
        QFile file(options.portsFile);
        if (!file.open(QIODevice::ReadOnly))
            return fail(QStringLiteral("cannot read %1: %2").arg(options.portsFile, file.errorString()));
        QString error;
        ports += portsFromFile(file, options.portsFile, error);
        if (!error.isEmpty())
            return fail(error);
    }
    for (const QString& port : ports) {
        if (ports.count(port) > 1)
            return fail(QStringLiteral("the port %1 is named twice").arg(port));
    }
    const bool several = ports.size() > 1;
    if (several && !options.wireLogPath.isEmpty() && !options.wireLogPath.contains(QLatin1String("{port}")))
        return fail(QStringLiteral("with several ports, put {port} in the wire log's name"));

    PortTask task;
    task.savePattern = options.savePath;
    if (!options.comparePath.isEmpty()) {
        const SettingsFileReading reading = readSettingsFile(options.comparePath);
        if (!reading.contents)
            return fail(reading.error);
        task.compare = reading.contents;
        task.compareName = options.comparePath;
    }
    std::unique_ptr<CommandSource> streamed;
    const bool fromInput = options.commandFile == QLatin1String("-")
                           || (options.commandFile.isEmpty() && options.commands.isEmpty() && options.savePath.isEmpty()
                               && options.comparePath.isEmpty());
    if (!options.commands.isEmpty()) {
        for (const QByteArray& command : options.commands) {
            if (controlCharacterIn(command) >= 0)
                return fail(unsendableCommandError(command));
        }
        task.commands = options.commands;
    } else if (fromInput && !several) {
        // Typed commands run one by one as they come.
        streamed = std::make_unique<CommandSource>(m_in, QStringLiteral("standard input"));
        task.streamed = streamed.get();
    } else if (fromInput || !options.commandFile.isEmpty()) {
        QFile file(options.commandFile);
        const QString name = fromInput ? QStringLiteral("standard input") : options.commandFile;
        if (!fromInput && !file.open(QIODevice::ReadOnly))
            return fail(QStringLiteral("cannot read %1: %2").arg(options.commandFile, file.errorString()));
        QString error;
        const std::optional<QByteArrayList> lines = commandFileLines(fromInput ? m_in : file, name, error);
        if (!lines)
            return fail(error);
        task.commands = *lines;
    }

    CtlOutput output(m_out, m_err, several);
    std::vector<int> statuses(size_t(ports.size()), NoCamera);
    std::vector<std::unique_ptr<QThread>> threads;
    for (qsizetype i = 0; i < ports.size(); ++i) {
        const QString wireLog = QString(options.wireLogPath).replace(QLatin1String("{port}"), fileNameFor(QStringLiteral("{port}"), ports.at(i), {}));
        auto work = [this, &output, &options, &task, &statuses, i, wireLog, port = ports.at(i)] {
            PortRun run(m_clock, output, options, port, wireLog);
            statuses[size_t(i)] = run.run(task);
        };
        if (m_inTurn || !several) {
            work();
        } else {
            threads.emplace_back(QThread::create(work));
            threads.back()->start();
        }
    }
    for (const auto& thread : threads)
        thread->wait();
    return *std::max_element(statuses.begin(), statuses.end());
}
