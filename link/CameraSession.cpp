#include "CameraSession.h"

#include "CommandWords.h"
#include "Link.h"
#include "PortBackend.h"

CameraSession::CameraSession(Clock& clock) : m_connection(clock) {}

QString CameraSession::open(const QString& portName, qint32 baudRate)
{
    m_connection.close();
    m_connection.portName = portName;
    m_connection.baudRate = baudRate;
    if (portName.isEmpty())
        return {};
    PortOpening opening = PortRegistry::instance().backendFor(portName).open(portName);
    if (!opening.port)
        return openFailureMessage(portName, opening);
    opening.port->setLineSettings(baudRate);
    m_connection.attach(std::move(opening.port));
    return {};
}

bool CameraSession::detectRate(const DetectionObserver& observer)
{
    m_connection.baudRate = DetectBaudRate(m_connection, observer);
    return rateKnown();
}

void CameraSession::wake()
{
    SendLine(m_connection, "\r\r\r");
    ReadAvailable(m_connection);
}

void CameraSession::identify()
{
    m_model = IdentifyModel(m_connection);
    m_family = familyForModel(m_model).value_or(CameraFamily::None);
}

int CameraSession::readSensorTaps()
{
    switch (m_family) {
    case CameraFamily::Brevo:
        m_sensorTaps = QueryInt(m_connection, cmd::SENSOR_TAP);
        break;
    case CameraFamily::Tovane:
        m_sensorTaps = 1;
        break;
    case CameraFamily::None:
        m_sensorTaps = 0;
        break;
    }
    return m_sensorTaps;
}
