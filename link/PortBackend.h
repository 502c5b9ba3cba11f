#pragma once

#include "SerialPort.h"

#include <QString>
#include <QStringList>

#include <memory>

// Why a port could not be opened; the user is told the cause.
enum class OpenFailure {
    None,
    InUse,             // another program holds it
    PermissionRefused, // the user may not open the device
    NoSuchPort,        // nothing by that name exists
    NotASerialPort,    // the name exists but is no serial device
    NoConnection,      // a network server could not be reached (reason says why)
};

// The outcome of opening a port: the open port, or why there is none.
struct PortOpening {
    std::unique_ptr<SerialPort> port;
    OpenFailure failure = OpenFailure::None;
    // The file a refused permission belongs to (its group is named in the
    // remedy); empty for ports that are not files.
    QString device;
    // The whole message for a failure only the backend can word (which
    // server, and what went wrong).
    QString reason;

    static PortOpening failed(OpenFailure failure, const QString& device = QString())
    {
        return {nullptr, failure, device, QString()};
    }
    static PortOpening failedBecause(OpenFailure failure, const QString& reason)
    {
        return {nullptr, failure, QString(), reason};
    }
};

// One kind of port: the system's serial ports, a Camera Link serial library's
// ports, serial lines on the network, the simulated cameras. A backend lists
// the names it offers and opens the names it claims.
class PortBackend {
public:
    virtual ~PortBackend() = default;

    // Names offered in the port dialog, in the order shown.
    virtual QStringList portNames() = 0;

    // Whether a name (typed or listed) is this backend's to open.
    virtual bool claims(const QString& name) const = 0;

    // Opens the port exclusively, or says why it cannot be opened.
    virtual PortOpening open(const QString& name) = 0;

    // Whether the port can be opened right now; by default it is opened and
    // closed again at once.
    virtual bool probe(const QString& name)
    {
        const std::unique_ptr<SerialPort> port = open(name).port;
        if (!port)
            return false;
        port->close();
        return true;
    }
};

// The backends of the process, in the order their ports are listed. The
// system's ports come first and take every name no other backend claims;
// network ports (rfc2217://, socket://) are always known, after the system's.
class PortRegistry {
public:
    static PortRegistry& instance();

    void add(std::shared_ptr<PortBackend> backend);
    void remove(const std::shared_ptr<PortBackend>& backend);

    QStringList portNames();
    PortBackend& backendFor(const QString& name);
    // Whether the name is one of the system's serial devices (no other
    // backend claims it).
    bool isSystemPort(const QString& name);

private:
    PortRegistry();
    std::shared_ptr<PortBackend> m_system;
    std::shared_ptr<PortBackend> m_network;
    QList<std::shared_ptr<PortBackend>> m_others;
};
