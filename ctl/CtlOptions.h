#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QIODevice>
#include <QString>
#include <QStringList>

#include <optional>

// What pk70ctl was asked to do.
struct CtlOptions {
    // "--port", in the order given; "--ports FILE" adds the names in FILE.
    QStringList ports;
    QString portsFile;
    // No rate: detected, as the application does.
    std::optional<qint32> rate;
    // Command lines given as arguments, grouped (commandsFromArguments).
    QByteArrayList commands;
    // "-f FILE"; "-" is standard input. Without commands and without a file
    // the commands come from standard input.
    QString commandFile;
    // "--save FILE": the camera's settings to FILE ("{port}" and "{model}" in
    // the name are replaced, so that several cameras write several files).
    QString savePath;
    // "--compare FILE": the settings of FILE that the camera holds otherwise.
    QString comparePath;
    bool json = false;
    bool keepGoing = false;
    // The longest wait for the camera: for one answer, and for baud detection.
    int timeoutMs = 10000;
    // "--wire-log FILE"; "-" is standard error.
    QString wireLogPath;
    bool help = false;
};

struct ParsedCtlArguments {
    CtlOptions options;
    // Empty when the arguments are usable.
    QString error;
};

// Parses the arguments after the program name. Options come first; the first
// argument that is not an option (or everything after "--") begins the
// commands, so that values such as -3 are never taken for options.
ParsedCtlArguments parseCtlArguments(const QStringList& arguments);

// Command lines from the words of the command line: a word that begins with a
// letter starts a command, the words after it that do not (values such as 50
// or -3) are its arguments, each after one blank; the word after HELP is
// HELP's. A word holding a blank is a whole command line as written.
QByteArrayList commandsFromArguments(const QStringList& words);

// A line of a command file or of standard input, without its line end, that
// is sent: not blank and not a comment (first character other than blanks
// is '#').
bool isCommandLine(const QByteArray& line);

// The command lines one at a time from the arguments or from a device
// (standard input), read as they are needed so that commands typed one by
// one run one by one. Lines end at "\n", "\r\n" or "\r"; each is sent
// exactly as written otherwise, blanks included. A line is checked as a
// settings file's line is (its length, plain ASCII in commands, a byte-order
// mark before the first dropped), and a line too long ends the reading
// without being held in memory.
class CommandSource {
public:
    explicit CommandSource(QByteArrayList commands) : m_queue(std::move(commands)) {}
    CommandSource(QIODevice& device, QString name) : m_device(&device), m_name(std::move(name)) {}

    // The next command line; none at the end or at a line that is wrong
    // (error() then says why).
    std::optional<QByteArray> next();
    const QString& error() const { return m_error; }
    // How many command lines next() gave.
    int count() const { return m_count; }

private:
    // The next line of the device without its end; false at the end or at
    // a line too long.
    bool readDeviceLine(QByteArray& line);

    QByteArrayList m_queue;
    QIODevice* m_device = nullptr;
    QString m_name;
    QString m_error;
    int m_lineNumber = 0;
    int m_count = 0;
    bool m_afterCarriageReturn = false;
};

// The names of a file of ports, one a line; blank lines and lines that begin
// with # are skipped. The message says what is wrong when it is no such file.
QStringList portsFromFile(QIODevice& file, const QString& name, QString& error);

// The name for a camera's file: "{port}" and "{model}" replaced by the port
// (without "/dev/", other characters than letters, digits, '.', '-' and '_'
// as '_') and the model.
QString fileNameFor(const QString& pattern, const QString& port, const QString& model);

// The text of --help.
QString ctlHelpText();
