#include "PortBackend.h"

#include "NetworkSerialPort.h"
#include "SystemSerialPort.h"

PortRegistry& PortRegistry::instance()
{
    static PortRegistry registry;
    return registry;
}

PortRegistry::PortRegistry()
    : m_system(std::make_shared<SystemPortBackend>()), m_network(std::make_shared<NetworkPortBackend>())
{
}

void PortRegistry::add(std::shared_ptr<PortBackend> backend)
{
    if (backend && !m_others.contains(backend))
        m_others.append(std::move(backend));
}

void PortRegistry::remove(const std::shared_ptr<PortBackend>& backend)
{
    m_others.removeAll(backend);
}

QStringList PortRegistry::portNames()
{
    QStringList names = m_system->portNames();
    for (const auto& backend : std::as_const(m_others))
        names += backend->portNames();
    return names;
}

PortBackend& PortRegistry::backendFor(const QString& name)
{
    if (m_network->claims(name))
        return *m_network;
    for (const auto& backend : std::as_const(m_others)) {
        if (backend->claims(name))
            return *backend;
    }
    return *m_system;
}

bool PortRegistry::isSystemPort(const QString& name)
{
    return &backendFor(name) == m_system.get() && m_system->claims(name);
}
