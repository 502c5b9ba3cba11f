#pragma once

#include "Clock.h"
#include "PortBackend.h"
#include "ScriptedPort.h"

#include <QByteArrayList>
#include <QMap>

#include <memory>

// How a scripted camera behaves on its port.
struct CameraScript {
    qint32 rate = 38400;       // the only rate at which it understands anything
    QByteArray modelAnswer;    // the whole answer to "MODEL"; empty: silent
    QByteArray versionAnswer;  // the whole answer to "VERSION"; empty: silent
    int sensorTaps = 2;
    bool held = false;         // another program holds the port: it cannot be opened
};

// The answer a camera gives to "MODEL" when it is this model.
inline QByteArray modelAnswerFor(const QByteArray& model)
{
    return "MODEL\r" + model + "\rOK\r";
}

// Cameras behind ports named "test:<name>", opened as ScriptedPorts on a
// virtual clock. At its rate a camera answers an empty line with a carriage
// return, "MODEL", "VERSION" and "SENSOR-TAP" as scripted, and any other line
// with its echo and "OK". Every line it received is kept across opens.
class ScriptedCameraBackend : public PortBackend {
public:
    explicit ScriptedCameraBackend(Clock& clock) : m_clock(clock) {}

    static QString portName(const QString& name) { return QStringLiteral("test:") + name; }

    void addCamera(const QString& name, const CameraScript& script);
    CameraScript& script(const QString& name) { return m_cameras[name].script; }

    // The lines the camera received over every port opened on it, in order.
    QByteArrayList receivedLines(const QString& name) const;
    // The port opened last on the camera (null when none was opened).
    ScriptedPort* lastPort(const QString& name) const;
    int openCount(const QString& name) const { return m_cameras.value(name).opens; }

    QStringList portNames() override;
    bool claims(const QString& name) const override;
    std::unique_ptr<SerialPort> open(const QString& name) override;

private:
    struct Camera {
        CameraScript script;
        QList<std::shared_ptr<ScriptedPort>> ports;
        int opens = 0;
    };
    QByteArray answer(const QString& name, ScriptedPort& port, const QByteArray& line);

    Clock& m_clock;
    QMap<QString, Camera> m_cameras;
    QStringList m_order;
};

// Registers a backend with the process's port registry for its lifetime.
class RegisteredBackend {
public:
    explicit RegisteredBackend(std::shared_ptr<PortBackend> backend) : m_backend(std::move(backend))
    {
        PortRegistry::instance().add(m_backend);
    }
    ~RegisteredBackend() { PortRegistry::instance().remove(m_backend); }
    RegisteredBackend(const RegisteredBackend&) = delete;
    RegisteredBackend& operator=(const RegisteredBackend&) = delete;

private:
    std::shared_ptr<PortBackend> m_backend;
};
