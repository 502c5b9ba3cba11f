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
};

// The outcome of opening a port: the open port, or why there is none.
struct PortOpening {
    std::unique_ptr<SerialPort> port;
    OpenFailure failure = OpenFailure::None;
    // The file a refused permission belongs to (its group is named in the
    // remedy); empty for ports that are not files.
    QString device;

    static PortOpening failed(OpenFailure failure, const QString& device = QString())
    {
        return {nullptr, failure, device};
    }
};

// One kind of port: the system's serial ports, a Camera Link serial library's
// ports, the simulated cameras. A backend lists the names it offers and opens
// the names it claims.
class PortBackend {
public:
    virtual ~PortBackend() = default;

    // Names offered in the port dialog, in the order shown.
    virtual QStringList portNames() = 0;

    // Whether a name (typed or listed) is this backend's to open.
    virtual bool claims(const QString& name) const = 0;

    // Opens the port exclusively, or says why it cannot be opened.
    virtual PortOpening open(const QString& name) = 0;
};

// The backends of the process, in the order their ports are listed. The
// system's ports come first and take every name no other backend claims.
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
    QList<std::shared_ptr<PortBackend>> m_others;
};
