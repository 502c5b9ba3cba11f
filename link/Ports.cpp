#include "Ports.h"

#include "Clock.h"
#include "Link.h"
#include "Messages.h"
#include "PortBackend.h"

#include <QFile>

#include <algorithm>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The group owning the file, by name (its number when it has none); empty
// when the file cannot be looked at.
QString owningGroup(const QString& path)
{
    struct stat status {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &status) != 0)
        return {};
    if (const group* entry = ::getgrgid(status.st_gid))
        return QString::fromLocal8Bit(entry->gr_name);
    return QString::number(status.st_gid);
}

QString currentUserName()
{
    if (const passwd* entry = ::getpwuid(::geteuid()))
        return QString::fromLocal8Bit(entry->pw_name);
    return QStringLiteral("$USER");
}

QString permissionRefusedMessage(const QString& device)
{
    const QString refused = QStringLiteral("Permission to open %1 was refused.").arg(device);
    const QString group = owningGroup(device);
    if (group.isEmpty())
        return refused + QStringLiteral(" Ask for read and write access to it.");
    return refused
        + QStringLiteral(" Members of its group \"%1\" may open it: add yourself to the group "
                         "(sudo usermod -aG %1 %2), then log out and back in.")
              .arg(group, currentUserName());
}

} // namespace

QString openFailureMessage(const QString& portName, const PortOpening& opening)
{
    if (!opening.reason.isEmpty())
        return opening.reason;
    switch (opening.failure) {
    case OpenFailure::None: // a backend that gave no reason
    case OpenFailure::InUse:
        return kPortInUseMessage;
    case OpenFailure::PermissionRefused:
        return permissionRefusedMessage(opening.device.isEmpty() ? portName : opening.device);
    case OpenFailure::NoSuchPort:
        return QStringLiteral("There is no port %1.").arg(portName);
    case OpenFailure::NotASerialPort:
        return QStringLiteral("%1 is not a serial port.").arg(portName);
    case OpenFailure::NoConnection:
        return QStringLiteral("There is no connection to %1.").arg(portName);
    }
    return {};
}

std::unique_ptr<SerialPort> OpenPort(const QString& portName, qint32 baudRate)
{
    if (portName.isEmpty())
        return nullptr;
    PortOpening opening = PortRegistry::instance().backendFor(portName).open(portName);
    if (!opening.port) {
        showMessage({.title = QStringLiteral("Port Not Opened"), .text = openFailureMessage(portName, opening)});
        return nullptr;
    }
    opening.port->setLineSettings(baudRate);
    return std::move(opening.port);
}

bool ProbePort(const QString& portName)
{
    if (portName.isEmpty())
        return false;
    return PortRegistry::instance().backendFor(portName).probe(portName);
}

QStringList listedPortNames()
{
    return PortRegistry::instance().portNames();
}

qint32 DetectBaudRate(Connection& connection, const DetectionObserver& observer)
{
    // The longest a candidate rate is given to answer.
    constexpr int kCandidateSettleMs = 100;
    // A camera listening at the candidate's rate has answered well within
    // this; only a candidate still silent then is reported to the observer.
    constexpr int kPromptAnswerMs = 20;
    if (!connection.isOpen())
        return kNoRateFound;
    // The line runs at the rate its server was set to; the rate given is the
    // one to time the exchanges by.
    if (!connection.port()->setsRate())
        return connection.baudRate;
    Connection::BusyScope busy(connection);
    // The camera answers an empty line with a carriage return, and detection
    // moves on the moment it has. At a rate the camera does not listen at
    // nothing recognisable comes, and the candidate's settling time runs out.
    const auto answered = [](const QByteArray& collected) { return collected.startsWith('\r'); };
    for (int pass = 1; pass <= kDetectionPasses; ++pass) {
        for (const qint32 rate : kDetectionRates) {
            // The port is closed under detection when its device goes away.
            SerialPort* port = connection.port();
            if (!port)
                return kNoRateFound;
            if (!port->supportsRate(rate))
                continue;
            ReadAvailable(connection);
            if (!connection.isOpen())
                return kNoRateFound;
            connection.setRate(rate);
            SendLine(connection, "\r");
            Clock& clock = connection.clock();
            const qint64 sentUs = clock.nowUs();
            const qint64 settleEndUs = sentUs + qint64(kCandidateSettleMs) * 1000;
            const QByteArray first = ReadUntil(connection, kPromptAnswerMs, answered);
            bool found = answered(first);
            if (!found) {
                // Told only now, the observer never puts up progress for a
                // search that is about to end.
                if (observer && !observer(pass, rate))
                    return kNoRateFound;
                if (!connection.isOpen())
                    return kNoRateFound;
                // Bytes that came first and were not the answer make
                // whatever follows them no answer either.
                const auto answeredAfterSilence = [&first](const QByteArray& collected) {
                    return first.isEmpty() && collected.startsWith('\r');
                };
                const qint64 leftUs = std::max<qint64>(0, settleEndUs - clock.nowUs());
                found = answeredAfterSilence(ReadUntil(connection, int((leftUs + 999) / 1000), answeredAfterSilence));
            }
            if (found) {
                connection.notePause(Connection::PauseKind::Spared, clock.nowUs(), settleEndUs - clock.nowUs());
                return rate;
            }
            connection.notePause(Connection::PauseKind::Unanswered, sentUs, settleEndUs - sentUs);
        }
    }
    return kNoRateFound;
}
