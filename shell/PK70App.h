#pragma once

#include <QString>
#include <QStringList>

// The application object: registers the port backends, shows messages as
// message boxes, starts the main window and ends when it closes.
class CPK70App {
public:
    // Organisation and application name: where the profile is kept.
    static void setIdentity();

    // The file the wire log is appended to, line by line, while the
    // application runs; none when empty.
    void setWireLogPath(const QString& path) { m_wireLogPath = path; }

    int run();

private:
    QString m_wireLogPath;
};

// The FILE of "--wire-log FILE" or "--wire-log=FILE" among the command-line
// arguments; empty when the option is not given. When it is given without a
// file, error says so.
QString wireLogPathArgument(const QStringList& arguments, QString* error);
