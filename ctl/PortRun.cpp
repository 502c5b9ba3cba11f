#include "PortRun.h"

#include "brevo/BrevoCatalogue.h"
#include "CameraSession.h"
#include "Catalogue.h"
#include "Clock.h"
#include "CtlOutput.h"
#include "Link.h"
#include "SendableLine.h"
#include "SettingsComparison.h"
#include "SettingsSnapshot.h"
#include "tovane/TovaneCatalogue.h"
#include "WireLog.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QSaveFile>

namespace {

QString quotedLine(const QByteArray& line)
{
    return QLatin1Char('"') + readableText(line) + QLatin1Char('"');
}

QString seconds(int ms)
{
    return QString::number(ms / 1000.0) + QStringLiteral(" s");
}

QString portWentAway(const QString& port, const QString& when)
{
    return QStringLiteral("the port went away %1 on %2 (the camera hung up or was unplugged)").arg(when, port);
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

// The port factory is shared by the process; ports open one at a time.
std::mutex& openingMutex()
{
    static std::mutex mutex;
    return mutex;
}

} // namespace

QString unsendableCommandError(const QByteArray& command)
{
    return QStringLiteral("the command \"%1\" %2; a command may hold printable characters only")
        .arg(readableLine(command), unsendableLineReason(command));
}

PortRun::PortRun(Clock& clock, CtlOutput& output, const CtlOptions& options, QString port, QString wireLogPath)
    : m_clock(clock), m_output(output), m_options(options), m_port(std::move(port)), m_wireLogPath(std::move(wireLogPath))
{
}

int PortRun::fail(const QString& message)
{
    m_output.error(m_port, message);
    return NoCamera;
}

int PortRun::run(PortTask& task)
{
    WireLog wireLog;
    std::unique_ptr<WireLogFile> wireLogFile;
    if (!m_wireLogPath.isEmpty()) {
        QString error;
        wireLogFile = openWireLog(wireLog, m_wireLogPath, error);
        if (!wireLogFile)
            return fail(error);
    }

    CameraSession session(m_clock);
    Connection& connection = session.connection();
    if (wireLogFile)
        connection.setWireLog(&wireLog);
    QString notOpened;
    {
        const std::lock_guard lock(openingMutex());
        notOpened = session.open(m_port, m_options.rate.value_or(connection.baudRate));
    }
    if (!connection.isOpen())
        return fail(QStringLiteral("cannot open the port %1%2")
                        .arg(m_port, notOpened.isEmpty() ? QString() : QStringLiteral(": ") + notOpened));
    const int status = runOnOpenPort(session, task);
    connection.close();
    return status;
}

int PortRun::runOnOpenPort(CameraSession& session, PortTask& task)
{
    Connection& connection = session.connection();
    if (!m_options.rate) {
        const qint64 giveUpMs = m_clock.nowMs() + m_options.timeoutMs;
        if (!session.detectRate([&](int, qint32) { return m_clock.nowMs() < giveUpMs; })) {
            if (connection.wasLost())
                return fail(portWentAway(m_port, QStringLiteral("while its baud rate was searched for")));
            return fail(QStringLiteral("no camera answered on %1 at any baud rate within %2")
                            .arg(m_port, seconds(m_options.timeoutMs)));
        }
    }
    if (!task.savePattern.isEmpty())
        return save(session, task);
    if (task.compare)
        return compare(session, task);
    if (task.streamed)
        return runCommands(session, *task.streamed);
    CommandSource commands(task.commands);
    return runCommands(session, commands);
}

int PortRun::runCommands(CameraSession& session, CommandSource& commands)
{
    Connection& connection = session.connection();
    int status = AllAccepted;
    while (const std::optional<QByteArray> command = commands.next()) {
        // Standard input is read as it comes: each line is checked on its way.
        if (controlCharacterIn(*command) >= 0)
            return fail(unsendableCommandError(*command) + QStringLiteral("; the commands before it were sent"));
        const qint64 startUs = m_clock.nowUs();
        const LineAnswer answer = ExchangeLine(connection, *command, m_options.timeoutMs);
        const qint64 ms = (m_clock.nowUs() - startUs + 500) / 1000;
        switch (answer.outcome) {
        case SetOutcome::Accepted:
            printAnswer(*command, answer, {}, ms);
            break;
        case SetOutcome::Refused: {
            const QString reason = LastErrorText(connection);
            printAnswer(*command, answer, reason, ms);
            m_output.error(m_port, QStringLiteral("%1 refused (%2)%3")
                                       .arg(quotedLine(*command), readableText(answer.terminalLine),
                                            reason.isEmpty() ? QString() : QStringLiteral(": ") + reason));
            status = Refused;
            if (!m_options.keepGoing)
                return status;
            break;
        }
        case SetOutcome::NoAnswer:
            printAnswer(*command, answer, {}, ms);
            if (connection.wasLost())
                return fail(portWentAway(m_port, QStringLiteral("while %1 waited for its answer").arg(quotedLine(*command))));
            return fail(QStringLiteral("no answer to %1 from the camera on %2 within %3")
                            .arg(quotedLine(*command), m_port, seconds(m_options.timeoutMs)));
        }
    }
    if (!commands.error().isEmpty())
        return fail(commands.error()
                    + (commands.count() > 0 ? QStringLiteral("; the commands before it were sent")
                                            : QStringLiteral("; nothing was sent")));
    if (commands.count() == 0)
        return fail(QStringLiteral("standard input held no command; nothing was sent"));
    return status;
}

void PortRun::printAnswer(const QByteArray& command, const LineAnswer& answer, const QString& reason, qint64 ms)
{
    if (!m_options.json) {
        for (const QByteArray& value : answer.values)
            m_output.line(m_port, value);
        return;
    }
    QJsonArray values;
    for (const QByteArray& value : answer.values)
        values.append(readableText(value));
    QJsonObject object{{QStringLiteral("command"), readableText(command)},
                       {QStringLiteral("values"), values},
                       {QStringLiteral("reply"), readableText(answer.terminalLine)},
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
    m_output.object(m_port, object);
}

std::unique_ptr<Catalogue> PortRun::catalogueOf(CameraSession& session)
{
    session.wake();
    session.identify();
    const CatalogueContext context{session.readSensorTaps()};
    switch (session.family()) {
    case CameraFamily::Brevo:
        return brevoCatalogue(session.connection(), context);
    case CameraFamily::Tovane:
        return tovaneCatalogue(session.connection(), context);
    case CameraFamily::None:
        break;
    }
    if (session.model().isEmpty())
        fail(QStringLiteral("the camera on %1 gave no model name").arg(m_port));
    else
        fail(QStringLiteral("the camera on %1 is a %2, which is no model this program knows").arg(m_port, session.model()));
    return nullptr;
}

int PortRun::save(CameraSession& session, PortTask& task)
{
    const std::unique_ptr<Catalogue> catalogue = catalogueOf(session);
    if (!catalogue)
        return NoCamera;
    // Two cameras never write one file: the second is told before it is read.
    const QString path = fileNameFor(task.savePattern, m_port, session.model());
    {
        const std::lock_guard lock(task.savedMutex);
        if (task.saved.contains(path))
            return fail(QStringLiteral("another camera's settings go to %1; put {port} in the file name").arg(path));
        task.saved.insert(path);
    }
    const SettingsSnapshot snapshot = readSettingsSnapshot(*catalogue);
    if (snapshot.lines.isEmpty())
        return fail(QStringLiteral("no settings could be read from the camera on %1; no file was written").arg(m_port));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)
        || file.write(settingsFileText(snapshot, session.model(), catalogue->family(), QDateTime::currentDateTime())) < 0
        || !file.commit())
        return fail(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
    if (m_options.json) {
        m_output.object(m_port, {{QStringLiteral("model"), session.model()},
                                 {QStringLiteral("file"), path},
                                 {QStringLiteral("settings"), snapshot.lines.size()}});
    } else {
        m_output.line(m_port, QStringLiteral("%1 settings of the %2 saved to %3")
                                  .arg(snapshot.lines.size())
                                  .arg(session.model(), path)
                                  .toLocal8Bit());
    }
    return AllAccepted;
}

int PortRun::compare(CameraSession& session, PortTask& task)
{
    const std::unique_ptr<Catalogue> catalogue = catalogueOf(session);
    if (!catalogue)
        return NoCamera;
    const SettingsFileContents& file = *task.compare;
    if (!file.model.isEmpty() && file.model != session.model())
        m_output.error(m_port, QStringLiteral("%1 holds settings of a %2; this camera is a %3")
                                   .arg(task.compareName, file.model, session.model()));
    catalogue->loadAll();
    if (session.connection().wasLost())
        return fail(portWentAway(m_port, QStringLiteral("while the settings were read")));
    const QList<SettingDifference> differences = compareSettings(*catalogue, file.lines);
    for (const SettingDifference& difference : differences) {
        const QString text = readableText(difference.fileLine.text);
        if (difference.kind == SettingDifference::Kind::Foreign) {
            if (m_options.json)
                m_output.object(m_port, {{QStringLiteral("line"), difference.fileLine.number},
                                         {QStringLiteral("text"), text},
                                         {QStringLiteral("difference"), QLatin1String(differenceKindName(difference.kind))}});
            else
                m_output.line(m_port, QStringLiteral("line %1: \"%2\" is no setting of the %3")
                                          .arg(difference.fileLine.number)
                                          .arg(text, session.model())
                                          .toLocal8Bit());
            continue;
        }
        const Setting& setting = *difference.setting;
        const bool reported = difference.kind == SettingDifference::Kind::Changed;
        if (m_options.json) {
            QJsonObject object{{QStringLiteral("line"), difference.fileLine.number},
                               {QStringLiteral("setting"), QString::fromLatin1(setting.key())},
                               {QStringLiteral("page"), difference.page},
                               {QStringLiteral("caption"), setting.caption()},
                               {QStringLiteral("file"), readableText(difference.fileValue)},
                               {QStringLiteral("camera"), reported ? QJsonValue(readableText(difference.cameraValue))
                                                                   : QJsonValue(QJsonValue::Null)},
                               {QStringLiteral("difference"), QLatin1String(differenceKindName(difference.kind))}};
            m_output.object(m_port, object);
        } else {
            m_output.line(m_port, QStringLiteral("%1: file %2, camera %3")
                                      .arg(QString::fromLatin1(setting.key()), readableText(difference.fileValue),
                                           reported ? readableText(difference.cameraValue)
                                                    : QStringLiteral("(no value: the camera did not report it)"))
                                      .toLocal8Bit());
        }
    }
    return differences.isEmpty() ? AllAccepted : Refused;
}
