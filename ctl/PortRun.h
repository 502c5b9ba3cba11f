#pragma once

#include "CtlOptions.h"
#include "SettingsFile.h"

#include <QByteArrayList>
#include <QSet>
#include <QString>

#include <memory>
#include <mutex>

class CameraSession;
class Catalogue;
class Clock;
class CtlOutput;
struct LineAnswer;

// What every port of one pk70ctl run does: the command lines (a source per
// port), or --save, or --compare with the file's lines. Shared by the ports,
// which only read it; the names of files saved so far are guarded.
struct PortTask {
    // Commands given once for all ports; with one port, standard input may
    // stream instead (streamed).
    QByteArrayList commands;
    CommandSource* streamed = nullptr;
    QString savePattern;
    std::optional<SettingsFileContents> compare;
    QString compareName;

    std::mutex savedMutex;
    QSet<QString> saved;
};

// One port of a pk70ctl run, on its own link: opens it, finds the rate
// unless one is given, does the task and reports through the shared output,
// every line naming the port when there are several. Nothing here touches
// another port, so ports run at the same time, each on a thread.
class PortRun {
public:
    enum ExitStatus { AllAccepted = 0, Refused = 1, NoCamera = 2 };

    PortRun(Clock& clock, CtlOutput& output, const CtlOptions& options, QString port, QString wireLogPath);

    // The port's exit status.
    int run(PortTask& task);

private:
    int runOnOpenPort(CameraSession& session, PortTask& task);
    int runCommands(CameraSession& session, CommandSource& commands);
    // Wakes and identifies the camera and builds its family's catalogue;
    // null (and the message out) when the camera is none of a known family.
    std::unique_ptr<Catalogue> catalogueOf(CameraSession& session);
    int save(CameraSession& session, PortTask& task);
    int compare(CameraSession& session, PortTask& task);
    void printAnswer(const QByteArray& command, const LineAnswer& answer, const QString& reason, qint64 ms);
    int fail(const QString& message);

    Clock& m_clock;
    CtlOutput& m_output;
    const CtlOptions& m_options;
    QString m_port;
    QString m_wireLogPath;
};

// A command line with a control character in it is never sent: why.
QString unsendableCommandError(const QByteArray& command);
