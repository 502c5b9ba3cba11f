#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QIODevice>
#include <QString>
#include <QStringList>

#include <optional>

// What pk70ctl was asked to do.
struct CtlOptions {
    QString port;
    // No rate: detected, as the application does.
    std::optional<qint32> rate;
    // Command lines given as arguments, grouped (commandsFromArguments).
    QByteArrayList commands;
    // "-f FILE"; "-" is standard input. Without commands and without a file
    // the commands come from standard input.
    QString commandFile;
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

// The command lines one at a time from the arguments or from a device (a
// file, standard input), read as they are needed so that commands typed one
// by one run one by one. Lines end at "\n", "\r\n" or "\r"; each is sent
// exactly as written otherwise, blanks included.
class CommandSource {
public:
    explicit CommandSource(QByteArrayList commands) : m_queue(std::move(commands)) {}
    explicit CommandSource(QIODevice& device) : m_device(&device) {}

    // The next command line; none at the end.
    std::optional<QByteArray> next();

private:
    QByteArrayList m_queue;
    QIODevice* m_device = nullptr;
};

// The text of --help.
QString ctlHelpText();
