#pragma once

#include "Clock.h"
#include "PortBackend.h"
#include "SimulatedPort.h"

#include <memory>

// The simulated cameras on a virtual clock, registered with the process's
// port registry for the lifetime of the object. Header only, for test programs
// that link the simulator (pk_sim).
class SimulatedCameras {
public:
    SimulatedCameras() { PortRegistry::instance().add(m_backend); }
    ~SimulatedCameras() { PortRegistry::instance().remove(m_backend); }
    SimulatedCameras(const SimulatedCameras&) = delete;
    SimulatedCameras& operator=(const SimulatedCameras&) = delete;

    static QString portOf(const QString& model) { return QString::fromLatin1(SimulatedPortBackend::kPrefix) + model; }

    SimulatedCamera& camera(const QString& model) { return *m_backend->camera(model); }
    QByteArrayList received(const QString& model) { return camera(model).receivedLines(); }

    // Opens the camera's port as another program would; null when it is in use.
    std::unique_ptr<SerialPort> open(const QString& model) { return m_backend->open(portOf(model)).port; }
    bool isInUse(const QString& model) { return open(model) == nullptr; }

    VirtualClock clock;

private:
    std::shared_ptr<SimulatedPortBackend> m_backend = std::make_shared<SimulatedPortBackend>(clock);
};
