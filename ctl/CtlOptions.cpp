#include "CtlOptions.h"

#include "SettingsFile.h"

#include <QRegularExpression>

#include <cmath>
#include <utility>

namespace {

bool startsWithLetter(const QString& word)
{
    return !word.isEmpty() && word.front().isLetter();
}

// The value of an option given as "--name VALUE" or "--name=VALUE"; moves i
// past what it used. No value when the argument is not this option.
std::optional<QString> optionValue(const QStringList& arguments, qsizetype& i, const QStringList& names,
                                   QString& error)
{
    const QString& argument = arguments.at(i);
    for (const QString& name : names) {
        if (argument.startsWith(name + QLatin1Char('=')) && name.startsWith(QLatin1String("--")))
            return argument.mid(name.size() + 1);
        if (argument != name)
            continue;
        if (i + 1 >= arguments.size()) {
            error = QStringLiteral("%1 needs a value").arg(name);
            return QString();
        }
        return arguments.at(++i);
    }
    return std::nullopt;
}

} // namespace

ParsedCtlArguments parseCtlArguments(const QStringList& arguments)
{
    ParsedCtlArguments parsed;
    CtlOptions& options = parsed.options;
    QString& error = parsed.error;
    qsizetype i = 0;
    bool optionsEnded = false;
    for (; i < arguments.size() && error.isEmpty(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument == QLatin1String("--")) {
            optionsEnded = true;
            ++i;
            break;
        }
        if (!argument.startsWith(QLatin1Char('-')) || argument == QLatin1String("-"))
            break;
        if (argument == QLatin1String("-h") || argument == QLatin1String("--help")) {
            options.help = true;
        } else if (argument == QLatin1String("--json")) {
            options.json = true;
        } else if (argument == QLatin1String("--keep-going")) {
            options.keepGoing = true;
        } else if (const auto port = optionValue(arguments, i, {QStringLiteral("--port")}, error)) {
            options.ports.append(*port);
        } else if (const auto ports = optionValue(arguments, i, {QStringLiteral("--ports")}, error)) {
            options.portsFile = *ports;
        } else if (const auto save = optionValue(arguments, i, {QStringLiteral("--save")}, error)) {
            options.savePath = *save;
        } else if (const auto compare = optionValue(arguments, i, {QStringLiteral("--compare")}, error)) {
            options.comparePath = *compare;
        } else if (const auto rate = optionValue(arguments, i, {QStringLiteral("--rate")}, error)) {
            bool ok = false;
            const int value = rate->toInt(&ok);
            if (error.isEmpty() && (!ok || value <= 0))
                error = QStringLiteral("the rate must be a positive whole number, not \"%1\"").arg(*rate);
            options.rate = value;
        } else if (const auto file = optionValue(arguments, i, {QStringLiteral("-f"), QStringLiteral("--file")},
                                                 error)) {
            options.commandFile = *file;
        } else if (const auto timeout = optionValue(arguments, i, {QStringLiteral("--timeout")}, error)) {
            bool ok = false;
            const double seconds = timeout->toDouble(&ok);
            if (error.isEmpty() && (!ok || !(seconds > 0) || seconds > 3600))
                error = QStringLiteral("the time-out must be a number of seconds above 0 and at most 3600, not \"%1\"")
                            .arg(*timeout);
            options.timeoutMs = ok ? int(std::lround(seconds * 1000)) : 0;
        } else if (const auto log = optionValue(arguments, i, {QStringLiteral("--wire-log")}, error)) {
            options.wireLogPath = *log;
        } else if (error.isEmpty()) {
            error = QStringLiteral("unknown option %1").arg(argument);
        }
    }
    if (!error.isEmpty() || options.help)
        return parsed;
    const QStringList words = arguments.mid(i);
    // A value may begin with a minus sign, never with a letter after it: such
    // a word is an option put after the commands, which the camera would get.
    for (const QString& word : words) {
        if (!optionsEnded && word.size() > 1 && word.front() == QLatin1Char('-') && !word.at(1).isDigit()) {
            error = QStringLiteral("options go before the commands: %1").arg(word);
            return parsed;
        }
    }
    options.commands = commandsFromArguments(words);
    const int tasks = int(!options.savePath.isEmpty()) + int(!options.comparePath.isEmpty())
                      + int(!options.commands.isEmpty() || !options.commandFile.isEmpty());
    if (options.ports.isEmpty() && options.portsFile.isEmpty())
        error = QStringLiteral("--port is missing: name the camera's port");
    else if (!options.commands.isEmpty() && !options.commandFile.isEmpty())
        error = QStringLiteral("give the commands either as arguments or with -f, not both");
    else if (tasks > 1)
        error = QStringLiteral("give one of commands, -f, --save and --compare");
    return parsed;
}

QByteArrayList commandsFromArguments(const QStringList& words)
{
    QByteArrayList commands;
    // Whether the last command takes further words.
    bool open = false;
    for (const QString& word : words) {
        const QByteArray bytes = word.toLocal8Bit();
        if (word.contains(QLatin1Char(' '))) {
            commands.append(bytes);
            open = false;
        } else if (open && (!startsWithLetter(word) || commands.last().compare("HELP", Qt::CaseInsensitive) == 0)) {
            commands.last() += ' ' + bytes;
        } else {
            commands.append(bytes);
            open = true;
        }
    }
    return commands;
}

bool isCommandLine(const QByteArray& line)
{
    const QByteArray trimmed = line.trimmed();
    return !trimmed.isEmpty() && !trimmed.startsWith('#');
}

std::optional<QByteArray> CommandSource::next()
{
    for (;;) {
        if (m_queue.isEmpty() && m_device) {
            QByteArray line;
            if (!readDeviceLine(line)) {
                m_device = nullptr;
                if (!m_error.isEmpty())
                    return std::nullopt;
            } else {
                ++m_lineNumber;
                if (m_lineNumber == 1 && line.startsWith("\xEF\xBB\xBF"))
                    line.remove(0, 3);
                // Control characters are left to the caller, which names them.
                const QString problem = settingsLineProblem(line);
                if (isCommandLine(line) && problem.startsWith(QLatin1String("holds characters"))) {
                    m_error = QStringLiteral("line %1 of %2 %3").arg(m_lineNumber).arg(m_name, problem);
                    m_device = nullptr;
                    return std::nullopt;
                }
                m_queue.append(line);
            }
        }
        if (m_queue.isEmpty())
            return std::nullopt;
        const QByteArray line = m_queue.takeFirst();
        if (isCommandLine(line)) {
            ++m_count;
            return line;
        }
    }
}

bool CommandSource::readDeviceLine(QByteArray& line)
{
    // Byte by byte (the device buffers), so that a line of any length is
    // never held whole.
    char c = 0;
    bool any = false;
    while (m_device->getChar(&c)) {
        // The LF of a CR LF ends no second line.
        if (std::exchange(m_afterCarriageReturn, false) && c == '\n' && !any)
            continue;
        any = true;
        if (c == '\n' || c == '\r') {
            m_afterCarriageReturn = c == '\r';
            return true;
        }
        if (line.size() >= kMaxSettingsLineLength) {
            m_error = QStringLiteral("line %1 of %2 is longer than %3 characters")
                          .arg(m_lineNumber + 1)
                          .arg(m_name)
                          .arg(kMaxSettingsLineLength);
            return false;
        }
        line += c;
    }
    return any;
}

QStringList portsFromFile(QIODevice& file, const QString& name, QString& error)
{
    const SettingsFileReading reading = readSettingsDevice(file, name);
    QStringList ports;
    if (!reading.contents) {
        error = reading.error;
        return ports;
    }
    for (const SettingsFileLine& line : reading.contents->lines)
        ports.append(QString::fromLatin1(line.text));
    return ports;
}

QString fileNameFor(const QString& pattern, const QString& port, const QString& model)
{
    static const QRegularExpression unsafe(QStringLiteral("[^A-Za-z0-9._-]"));
    QString portPart = port;
    if (portPart.startsWith(QLatin1String("/dev/")))
        portPart.remove(0, 5);
    portPart.replace(unsafe, QStringLiteral("_"));
    QString modelPart = model;
    modelPart.replace(unsafe, QStringLiteral("_"));
    return QString(pattern)
        .replace(QLatin1String("{port}"), portPart)
        .replace(QLatin1String("{model}"), modelPart.isEmpty() ? QStringLiteral("unknown") : modelPart);
}

QString ctlHelpText()
{
    return QStringLiteral(
        "Usage: pk70ctl --port NAME [--rate N] [OPTIONS] [COMMAND...]\n"
        "       pk70ctl --port NAME [--rate N] [OPTIONS] -f FILE\n"
        "       pk70ctl --port NAME [--rate N] [OPTIONS] --save FILE\n"
        "       pk70ctl --port NAME [--rate N] [OPTIONS] --compare FILE\n"
        "\n"
        "Sends command lines to a camera over its serial control channel and prints the value\n"
        "lines of each answer (the lines between the camera's echo and its OK); or saves the\n"
        "camera's settings to a file, or compares them with one. --port may be given more than\n"
        "once: every port then runs at the same time on its own link, each line printed\n"
        "begins with its port (\"PORT: \"), and one port that fails does not stop the others.\n"
        "\n"
        "Options (before the commands):\n"
        "  --port NAME       the camera's port: a device path such as /dev/ttyUSB0, a Camera Link\n"
        "                    serial port clser:<manufacturer>#<port>, a serial server on the\n"
        "                    network rfc2217://HOST:PORT (RFC 2217: the rate is set over the\n"
        "                    network) or socket://HOST:PORT (raw TCP: the line runs at the\n"
        "                    server's rate), or a simulated camera sim:<MODEL> such as\n"
        "                    sim:PTM-TW640M\n"
        "  --rate N          the camera's baud rate; without it the rate is detected (on a\n"
        "                    socket:// port, which cannot be searched, the rate to time the\n"
        "                    answers by; 38400 without it)\n"
        "  --ports FILE      the ports named in FILE, one per line, besides those of --port\n"
        "  -f, --file FILE   read the commands from FILE, one per line (- is standard input)\n"
        "  --save FILE       write the camera's settings to FILE, the same file as the panel's\n"
        "                    \"Save Settings...\" writes; {port} and {model} in the name are\n"
        "                    replaced (needed with several ports: one file each)\n"
        "  --compare FILE    read from the camera each setting FILE holds and print those that\n"
        "                    differ: SETTING: file VALUE, camera VALUE; a line of FILE that is no\n"
        "                    setting of the camera's family is named as such\n"
        "  --json            print one JSON object per command instead of the value lines:\n"
        "                    {\"command\", \"values\", \"result\": \"OK\", \"refused\" or \"no answer\",\n"
        "                    \"reply\" (the answer's last line), \"error\" (the camera's\n"
        "                    GET-LAST-ERROR text, for a refusal), \"ms\", \"port\"}; with --compare\n"
        "                    one per difference: {\"port\", \"line\", \"setting\", \"page\",\n"
        "                    \"caption\", \"file\", \"camera\", \"difference\"}\n"
        "  --keep-going      go on after a refused command (the exit status is still 1)\n"
        "  --timeout S       the longest wait in seconds for one answer, and for baud detection\n"
        "                    (default 10)\n"
        "  --wire-log FILE   append every line sent and received to FILE (- is standard error;\n"
        "                    with several ports, {port} in the name gives one file a port)\n"
        "  -h, --help        show this text\n"
        "\n"
        "Commands come from the arguments, from -f FILE, or else from standard input. As\n"
        "arguments, a word that begins with a letter starts a command and the words after it\n"
        "that do not are its values (GAIN-FINE 50 GAIN-FINE is two commands); the word after\n"
        "HELP belongs to it; quote a command to send it exactly as written (\"CR-TF-VAL 01  5\").\n"
        "In a file or on standard input each line is one command; blank lines and lines\n"
        "beginning with # are skipped. A file is checked as \"Apply Settings...\" checks it\n"
        "before anything is sent (so one file applies both ways): no binary data, no line over\n"
        "256 characters, commands in plain ASCII, at most 1 MB, at least one command; blanks\n"
        "around a line are dropped. Standard input is sent line by line as it comes, each line\n"
        "as written and checked on its way. A command holding a control character (a tab, NUL,\n"
        "escape...) is refused: nothing is sent from arguments or a file that holds one.\n"
        "\n"
        "A refused command is reported on standard error with the camera's reason (from\n"
        "GET-LAST-ERROR) and stops the run unless --keep-going is given.\n"
        "\n"
        "Exit status: 0 every command was accepted (for --compare: nothing differs);\n"
        "1 a command was refused (something differs); 2 the port cannot be opened (a network server\n"
        "refuses, is not known or does not answer within 4.5 s), the camera does not answer\n"
        "within the time-out, or the arguments or a file are wrong. With several ports, the\n"
        "worst of them.\n"
        "\n"
        "Examples:\n"
        "  pk70ctl --port sim:PTM-TW640M MODEL\n"
        "  pk70ctl --port /dev/ttyUSB0 --rate 9600 GAIN-FINE 50 GAIN-FINE\n"
        "  pk70ctl --port rfc2217://192.168.1.40:2217 MODEL\n"
        "  pk70ctl --port sim:PTM-R560CL --json -f settings.txt\n"
        "  pk70ctl --port /dev/ttyS0 --port /dev/ttyS1 --save '{port}-{model}.txt'\n"
        "  pk70ctl --ports line-3.txt --compare reference.txt\n");
}
