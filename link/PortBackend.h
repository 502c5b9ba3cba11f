#pragma once

#include "SerialPort.h"

#include <QString>
#include <QStringList>

#include <memory>

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

    // Opens the port exclusively; null when it cannot be opened.
    virtual std::unique_ptr<SerialPort> open(const QString& name) = 0;
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

private:
    PortRegistry();
    std::shared_ptr<PortBackend> m_system;
    QList<std::shared_ptr<PortBackend>> m_others;
};
