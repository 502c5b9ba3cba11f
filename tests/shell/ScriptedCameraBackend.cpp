#include "ScriptedCameraBackend.h"

#include "SerialPort.h"

namespace {

// A port handle on a ScriptedPort that the backend keeps alive, so a test can
// still read what the camera received after the connection closed its port.
class SharedScriptedPort : public SerialPort {
public:
    explicit SharedScriptedPort(std::shared_ptr<ScriptedPort> port) : m_port(std::move(port)) {}

    bool setLineSettings(qint32 baudRate) override { return m_port->setLineSettings(baudRate); }
    qint64 bytesWaiting() override { return m_port->bytesWaiting(); }
    QByteArray read(qint64 maxBytes) override { return m_port->read(maxBytes); }
    qint64 write(const QByteArray& bytes) override { return m_port->write(bytes); }
    bool waitReadable(int timeoutMs) override { return m_port->waitReadable(timeoutMs); }
    void close() override { m_port->close(); }

private:
    std::shared_ptr<ScriptedPort> m_port;
};

} // namespace

void ScriptedCameraBackend::addCamera(const QString& name, const CameraScript& script)
{
    if (!m_cameras.contains(name))
        m_order.append(name);
    m_cameras[name].script = script;
}

QByteArrayList ScriptedCameraBackend::receivedLines(const QString& name) const
{
    QByteArrayList lines;
    for (const auto& port : m_cameras.value(name).ports)
        lines += port->receivedLines();
    return lines;
}

ScriptedPort* ScriptedCameraBackend::lastPort(const QString& name) const
{
    const auto& ports = m_cameras.value(name).ports;
    return ports.isEmpty() ? nullptr : ports.last().get();
}

QStringList ScriptedCameraBackend::portNames()
{
    QStringList names;
    for (const QString& name : std::as_const(m_order))
        names.append(portName(name));
    return names;
}

bool ScriptedCameraBackend::claims(const QString& name) const
{
    return name.startsWith(QLatin1String("test:"));
}

std::unique_ptr<SerialPort> ScriptedCameraBackend::open(const QString& portName)
{
    const QString name = portName.mid(5);
    auto found = m_cameras.find(name);
    if (found == m_cameras.end() || found->script.held)
        return nullptr;
    auto port = std::make_shared<ScriptedPort>(m_clock);
    ScriptedPort* raw = port.get();
    port->replyDelayMs = 2;
    port->responder = [this, name, raw](const QByteArray& line) { return answer(name, *raw, line); };
    found->ports.append(port);
    ++found->opens;
    return std::make_unique<SharedScriptedPort>(port);
}

QByteArray ScriptedCameraBackend::answer(const QString& name, ScriptedPort& port, const QByteArray& line)
{
    const CameraScript& script = m_cameras[name].script;
    if (port.rates.isEmpty() || port.rates.last() != script.rate)
        return {};
    if (line.isEmpty())
        return "\r";
    if (line == "MODEL")
        return script.modelAnswer;
    if (line == "VERSION")
        return script.versionAnswer;
    if (line == "SENSOR-TAP")
        return "SENSOR-TAP\r" + QByteArray::number(script.sensorTaps) + "\rOK\r";
    return line + "\rOK\r";
}
