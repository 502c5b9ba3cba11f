#pragma once

#include "Clock.h"
#include "PortBackend.h"
#include "SerialPort.h"
#include "SimulatedCamera.h"

#include <QStringList>

#include <map>
#include <memory>

// The port of a simulated camera in the same process, on the link's clock:
// virtual time in tests (waiting moves the clock on to the next byte), the
// real clock in the application. Any rate can be set.
class SimulatedPort : public SerialPort {
public:
    SimulatedPort(std::shared_ptr<SimulatedCamera> camera, Clock& clock);
    ~SimulatedPort() override;

    bool setLineSettings(qint32 baudRate) override;
    qint64 bytesWaiting() override;
    QByteArray read(qint64 maxBytes) override;
    qint64 write(const QByteArray& bytes) override;
    bool waitReadable(int timeoutMs) override;
    void close() override;
    bool supportsRate(qint32 baudRate) const override;
    // A cut line (SimulatedCamera::setDisconnected) is a device that has gone.
    bool isLost() const override { return m_open && m_camera->isDisconnected(); }

    qint32 baudRate() const override { return m_rate; }
    SimulatedCamera& camera() const { return *m_camera; }

    // Held while the port is open; the backend opens a camera only once.
    void holdLease(std::shared_ptr<void> lease) { m_lease = std::move(lease); }

private:
    bool usable() const { return m_open && !m_camera->isDisconnected(); }
    void collect();

    std::shared_ptr<SimulatedCamera> m_camera;
    Clock& m_clock;
    qint32 m_rate = 9600;
    QByteArray m_input;
    bool m_open = true;
    std::shared_ptr<void> m_lease;
};

// Every model the simulator offers.
QStringList simulatedModels();

// Simulated cameras as ports named "sim:<MODEL>" (for example
// "sim:PTM-TW640M"). Each name has one camera for the life of the backend, so
// its settings survive closing and opening the port; a port is opened by one
// user at a time.
class SimulatedPortBackend : public PortBackend {
public:
    explicit SimulatedPortBackend(Clock& clock);

    static constexpr char kPrefix[] = "sim:";

    QStringList portNames() override;
    bool claims(const QString& name) const override;
    PortOpening open(const QString& name) override;

    // The camera behind a model's port (made on first use), for tests and
    // benchmarks; null for a model the simulator does not offer.
    std::shared_ptr<SimulatedCamera> camera(const QString& model);

private:
    Clock& m_clock;
    std::map<QString, std::shared_ptr<SimulatedCamera>> m_cameras;
    std::map<QString, std::weak_ptr<void>> m_leases;
};
