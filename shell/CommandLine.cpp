#include "CommandLine.h"

#include "AppIdentity.h"
#include "Ports.h"
#include "SerialPortDlg.h"

#include <algorithm>
#include <functional>

namespace {

constexpr int kUsageError = 2;

// An option that takes a value; take() stores it, or says what is wrong with it.
struct ValueOption {
    QString name;
    QString valueName;
    QString help;
    std::function<QString(StartOptions& options, const QString& value)> take;
};

const QList<ValueOption>& valueOptions()
{
    static const QList<ValueOption> options = {
        {QStringLiteral("port"), QStringLiteral("NAME"),
         QStringLiteral("Open this port instead of asking for one: a device\n"
                        "(/dev/ttyUSB0, ttyS0, /dev/serial/by-id/...),\n"
                        "clser:<maker>#<port>, a serial server on the network\n"
                        "(rfc2217://HOST:PORT, or socket://HOST:PORT with --rate)\n"
                        "or sim:<MODEL>."),
         [](StartOptions& options, const QString& value) {
             options.portName = value.trimmed();
             return options.portName.isEmpty() ? QStringLiteral("--port needs a port name") : QString();
         }},
        {QStringLiteral("rate"), QStringLiteral("N"),
         QStringLiteral("Talk to the camera at N baud instead of searching for its rate."),
         [](StartOptions& options, const QString& value) {
             bool ok = false;
             const qint32 rate = value.toInt(&ok);
             if (!ok || rate <= 0)
                 return QStringLiteral("--rate needs a baud rate in whole numbers, not \"%1\"").arg(value);
             options.baudRate = rate;
             return QString();
         }},
        {QStringLiteral("wire-log"), QStringLiteral("FILE"),
         QStringLiteral("Append every line sent to the camera and every answer line,\n"
                        "with its time, to FILE while the application runs."),
         [](StartOptions& options, const QString& value) {
             options.wireLogPath = value;
             return value.isEmpty() ? QStringLiteral("--wire-log needs the file to write the wire log to") : QString();
         }},
    };
    return options;
}

QString helpText()
{
    constexpr int kOptionWidth = 14;
    QStringList rows;
    const auto row = [&rows](const QString& option, QString help) {
        help.replace(QLatin1Char('\n'), QLatin1Char('\n') + QString(kOptionWidth + 4, QLatin1Char(' ')));
        rows << QStringLiteral("  %1  %2").arg(option, -kOptionWidth).arg(help);
    };
    for (const ValueOption& option : valueOptions())
        row(QStringLiteral("--%1 %2").arg(option.name, option.valueName), option.help);
    row(QStringLiteral("--help"), QStringLiteral("Show this help and end."));
    row(QStringLiteral("--version"), QStringLiteral("Show the version and end."));
    return QStringLiteral("Usage: %1 [options]\n"
                          "Controls Camera Link area-scan cameras through their serial channel.\n\n"
                          "Options:\n%2\n\n"
                          "Qt's own options (-platform NAME, -style NAME, ...) are passed on to Qt.\n")
        .arg(QLatin1String(AppIdentity::kProgram), rows.join(QLatin1Char('\n')));
}

CommandLine endWith(int exitCode, const QString& output, const QString& error = QString())
{
    CommandLine result;
    result.exitCode = exitCode;
    result.output = output;
    result.error = error;
    return result;
}

CommandLine usageError(const QString& problem)
{
    return endWith(kUsageError, QString(),
                   QStringLiteral("%1: %2\nTry \"%1 --help\".\n").arg(QLatin1String(AppIdentity::kProgram), problem));
}

} // namespace

CommandLine parseCommandLine(const QStringList& arguments)
{
    CommandLine result;
    bool afterQtOption = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h"))
            return endWith(0, helpText());
        if (argument == QLatin1String("--version"))
            return endWith(0, QStringLiteral("%1 %2\n").arg(QLatin1String(AppIdentity::kProgram), AppIdentity::version()));
        if (!argument.startsWith(QLatin1String("--"))) {
            // A Qt option, or the value of the Qt option before it.
            const bool qtOption = argument.startsWith(QLatin1Char('-'));
            if (!qtOption && !afterQtOption)
                return usageError(QStringLiteral("unexpected argument \"%1\" (a port is named with --port)").arg(argument));
            afterQtOption = qtOption;
            continue;
        }
        afterQtOption = false;
        const QString name = argument.mid(2).section(QLatin1Char('='), 0, 0);
        const auto option = std::find_if(valueOptions().begin(), valueOptions().end(),
                                         [&name](const ValueOption& o) { return o.name == name; });
        if (option == valueOptions().end())
            return usageError(QStringLiteral("unknown option \"%1\"").arg(argument));
        QString value;
        if (argument.contains(QLatin1Char('='))) {
            value = argument.section(QLatin1Char('='), 1);
        } else if (i + 1 < arguments.size()) {
            value = arguments.at(++i);
        } else {
            return usageError(QStringLiteral("--%1 needs a value (%2)").arg(option->name, option->valueName));
        }
        if (const QString problem = option->take(result.options, value); !problem.isEmpty())
            return usageError(problem);
    }
    return result;
}

PortChooser startPortChooser(const StartOptions& options, PortChooser dialog)
{
    auto first = std::make_shared<bool>(true);
    return [options, dialog = std::move(dialog), first](const QString& portName,
                                                        qint32 baudRate) -> std::optional<PortChoice> {
        if (!*first)
            return dialog(portName, baudRate);
        *first = false;
        std::optional<PortChoice> choice;
        if (options.portName.isEmpty()) {
            // The port and rate accepted last time are offered first, when
            // that port can be opened now.
            std::optional<PortChoice> remembered = rememberedPortChoice();
            if (remembered && !ProbePort(remembered->portName))
                remembered.reset();
            const PortChoice offered = remembered.value_or(PortChoice{portName, baudRate});
            choice = dialog(offered.portName, options.baudRate.value_or(offered.baudRate));
        } else {
            choice = PortChoice{options.portName, options.baudRate.value_or(baudRate)};
            rememberPortChoice(*choice);
        }
        if (choice && options.baudRate)
            choice->detectRate = false;
        return choice;
    };
}
