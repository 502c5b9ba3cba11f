#include "SimulatedPort.h"

#include "Models.h"

SimulatedPort::SimulatedPort(std::shared_ptr<SimulatedCamera> camera, Clock& clock)
    : m_camera(std::move(camera)), m_clock(clock)
{
    // What the camera sent while nobody listened is gone.
    m_camera->takeOutput(m_clock.nowUs(), m_rate);
}

SimulatedPort::~SimulatedPort()
{
    close();
}

bool SimulatedPort::setLineSettings(qint32 baudRate)
{
    if (!m_open || baudRate <= 0)
        return false;
    // Bytes already in were heard at the old rate.
    collect();
    m_rate = baudRate;
    return true;
}

void SimulatedPort::collect()
{
    m_input += m_camera->takeOutput(m_clock.nowUs(), m_rate);
}

qint64 SimulatedPort::bytesWaiting()
{
    if (!usable())
        return -1;
    collect();
    return m_input.size();
}

QByteArray SimulatedPort::read(qint64 maxBytes)
{
    if (!usable() || maxBytes <= 0)
        return {};
    collect();
    const QByteArray bytes = m_input.left(maxBytes);
    m_input.remove(0, bytes.size());
    return bytes;
}

qint64 SimulatedPort::write(const QByteArray& bytes)
{
    if (!usable())
        return -1;
    m_camera->receive(bytes, m_rate, m_clock.nowUs());
    return bytes.size();
}

bool SimulatedPort::waitReadable(int timeoutMs)
{
    const qint64 deadline = m_clock.nowUs() + qint64(qMax(0, timeoutMs)) * 1000;
    if (!usable()) {
        m_clock.sleepUs(deadline - m_clock.nowUs());
        return false;
    }
    // Sleep until the next byte can have reached the host, or the time is
    // up, as a reader blocked on a real port wakes only when input comes.
    for (;;) {
        collect();
        if (!m_input.isEmpty())
            return true;
        const qint64 now = m_clock.nowUs();
        const std::optional<qint64> next = m_camera->nextArrivalAtHostUs();
        if (!next || *next > deadline) {
            m_clock.sleepUs(deadline - now);
            collect();
            return !m_input.isEmpty();
        }
        m_clock.sleepUs(qMax<qint64>(1, *next - now));
    }
}

void SimulatedPort::close()
{
    m_open = false;
    m_input.clear();
    m_lease.reset();
}

bool SimulatedPort::supportsRate(qint32 baudRate) const
{
    return baudRate > 0;
}

QStringList simulatedModels()
{
    QStringList names;
    for (const sim::ModelInfo& model : sim::knownModels())
        names.append(model.name);
    return names;
}

SimulatedPortBackend::SimulatedPortBackend(Clock& clock) : m_clock(clock) {}

QStringList SimulatedPortBackend::portNames()
{
    QStringList names;
    for (const QString& model : simulatedModels())
        names.append(QLatin1String(kPrefix) + model);
    return names;
}

bool SimulatedPortBackend::claims(const QString& name) const
{
    return name.startsWith(QLatin1String(kPrefix));
}

std::shared_ptr<SimulatedCamera> SimulatedPortBackend::camera(const QString& model)
{
    if (!sim::isKnownModel(model))
        return nullptr;
    auto& camera = m_cameras[model];
    if (!camera)
        camera = std::make_shared<SimulatedCamera>(model);
    return camera;
}

PortOpening SimulatedPortBackend::open(const QString& name)
{
    if (!claims(name))
        return PortOpening::failed(OpenFailure::NoSuchPort);
    const QString model = name.mid(int(qstrlen(kPrefix)));
    std::shared_ptr<SimulatedCamera> simulated = camera(model);
    if (!simulated)
        return PortOpening::failed(OpenFailure::NoSuchPort);
    if (!m_leases[model].expired())
        return PortOpening::failed(OpenFailure::InUse);
    auto port = std::make_unique<SimulatedPort>(simulated, m_clock);
    auto lease = std::make_shared<int>(0);
    m_leases[model] = lease;
    port->holdLease(lease);
    return {std::move(port)};
}
