#include "CtlRunner.h"

#include "CameraSession.h"
#include "Clock.h"
#include "Link.h"
#include "WireLog.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <memory>

namespace {

QString quotedLine(const QByteArray& line)
{
    return QLatin1Char('"') + QString::fromLocal8Bit(line) + QLatin1Char('"');
}

QString seconds(int ms)
{
    return QString::number(ms / 1000.0) + QStringLiteral(" s");
}

// A command line with a control character in it is never sent.
QString unsendableCommandError(const QByteArray& command)
{
    return QStringLiteral("the command \"%1\" %2; a command may hold printable characters only")
        .arg(readableLine(command), unsendableLineReason(command));
}

// The commands of a file, all read and checked before any is sent.
QString readCommandFile(QIODevice& file, QByteArrayList& commands)
{
    CommandSource source(file);
    while (const std::optional<QByteArray> command = source.next()) {
        if (controlCharacterIn(*command) >= 0)
            return unsendableCommandError(*command);
        commands.append(*command);
    }
    return {};
}

// "--wire-log": a file, or standard error for "-".
std::unique_ptr<WireLogFile> openWireLog(WireLog& log, const QString& path, QString& error)
{
    if (path != QLatin1String("-"))
        return WireLogFile::open(log, path, &error);
    auto standardError = std::make_unique<QFile>();
    if (!standardError->open(stderr, QIODevice::WriteOnly)) {
        error = QStringLiteral("cannot write the wire log to standard error");
        return nullptr;
    }
    return std::make_unique<WireLogFile>(log, std::move(standardError));
}

} // namespace

QString CtlRunner::portWentAway(const QString& port, const QString& when)
{
    return QStringLiteral("the port went away %1 on %2 (the camera hung up or was unplugged)").arg(when, port);
}

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

    // The command file is read before the port is touched: a wrong name
    // sends nothing.
    std::unique_ptr<CommandSource> commands;
    if (!options.commands.isEmpty()) {
        for (const QByteArray& command : options.commands) {
            if (controlCharacterIn(command) >= 0)
                return fail(unsendableCommandError(command));
        }
        commands = std::make_unique<CommandSource>(options.commands);
    } else if (options.commandFile.isEmpty() || options.commandFile == QLatin1String("-")) {
        commands = std::make_unique<CommandSource>(m_in);
    } else {
        QFile file(options.commandFile);
        if (!file.open(QIODevice::ReadOnly))
            return fail(QStringLiteral("cannot read %1: %2").arg(options.commandFile, file.errorString()));
        QByteArrayList lines;
        if (const QString error = readCommandFile(file, lines); !error.isEmpty())
            return fail(QStringLiteral("%1: %2; nothing was sent").arg(options.commandFile, error));
        commands = std::make_unique<CommandSource>(lines);
    }

    WireLog wireLog;
    std::unique_ptr<WireLogFile> wireLogFile;
    if (!options.wireLogPath.isEmpty()) {
        QString error;
        wireLogFile = openWireLog(wireLog, options.wireLogPath, error);
        if (!wireLogFile)
            return fail(error);
    }

    CameraSession session(m_clock);
    Connection& connection = session.connection();
    if (wireLogFile)
        connection.setWireLog(&wireLog);
    const QString notOpened = session.open(options.port, options.rate.value_or(connection.baudRate));
    if (!connection.isOpen())
        return fail(QStringLiteral("cannot open the port %1%2")
                        .arg(options.port, notOpened.isEmpty() ? QString() : QStringLiteral(": ") + notOpened));
    const int status = runOnOpenPort(session, options, *commands);
    connection.close();
    return status;
}

int CtlRunner::runOnOpenPort(CameraSession& session, const CtlOptions& options, CommandSource& commands)
{
    Connection& connection = session.connection();
    if (!options.rate) {
        const qint64 giveUpMs = m_clock.nowMs() + options.timeoutMs;
        if (!session.detectRate([&](int, qint32) { return m_clock.nowMs() < giveUpMs; })) {
            if (connection.wasLost())
                return fail(portWentAway(options.port, QStringLiteral("while its baud rate was searched for")));
            return fail(QStringLiteral("no camera answered on %1 at any baud rate within %2")
                            .arg(options.port, seconds(options.timeoutMs)));
        }
    }
    int status = AllAccepted;
    while (const std::optional<QByteArray> command = commands.next()) {
        // Standard input is read as it comes: each line is checked on its way.
        if (controlCharacterIn(*command) >= 0)
            return fail(unsendableCommandError(*command) + QStringLiteral("; the commands before it were sent"));
        const qint64 startUs = m_clock.nowUs();
        const LineAnswer answer = ExchangeLine(connection, *command, options.timeoutMs);
        const qint64 ms = (m_clock.nowUs() - startUs + 500) / 1000;
        switch (answer.outcome) {
        case SetOutcome::Accepted:
            printAnswer(options, *command, answer, {}, ms);
            break;
        case SetOutcome::Refused: {
            const QString reason = LastErrorText(connection);
            printAnswer(options, *command, answer, reason, ms);
            m_err.write(QStringLiteral("pk70ctl: %1 refused (%2)%3\n")
                            .arg(quotedLine(*command), QString::fromLocal8Bit(answer.terminalLine),
                                 reason.isEmpty() ? QString() : QStringLiteral(": ") + reason)
                            .toLocal8Bit());
            status = Refused;
            if (!options.keepGoing)
                return status;
            break;
        }
        case SetOutcome::NoAnswer:
            printAnswer(options, *command, answer, {}, ms);
            if (connection.wasLost())
                return fail(portWentAway(options.port, QStringLiteral("while %1 waited for its answer")
                                                           .arg(quotedLine(*command))));
            return fail(QStringLiteral("no answer to %1 from the camera on %2 within %3")
                            .arg(quotedLine(*command), options.port, seconds(options.timeoutMs)));
        }
    }
    return status;
}

void CtlRunner::printAnswer(const CtlOptions& options, const QByteArray& command, const LineAnswer& answer,
                            const QString& reason, qint64 ms)
{
    if (!options.json) {
        for (const QByteArray& value : answer.values)
            m_out.write(value + '\n');
        return;
    }
    QJsonArray values;
    for (const QByteArray& value : answer.values)
        values.append(QString::fromLocal8Bit(value));
    QJsonObject object{{QStringLiteral("command"), QString::fromLocal8Bit(command)},
                       {QStringLiteral("values"), values},
                       {QStringLiteral("reply"), QString::fromLocal8Bit(answer.terminalLine)},
                       {QStringLiteral("ms"), ms}};
    switch (answer.outcome) {
    case SetOutcome::Accepted:
        object.insert(QStringLiteral("result"), QStringLiteral("OK"));
        break;
    case SetOutcome::Refused:
        object.insert(QStringLiteral("result"), QStringLiteral("refused"));
        object.insert(QStringLiteral("error"), reason);
        break;
    case SetOutcome::NoAnswer:
        object.insert(QStringLiteral("result"), QStringLiteral("no answer"));
        break;
    }
    m_out.write(QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n');
}
