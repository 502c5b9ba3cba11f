#pragma once

#include "PortBackend.h"

#include <QSerialPort>

// A serial device of the system (/dev/ttyS0, /dev/ttyUSB0, a pseudo-terminal)
// through Qt SerialPort, used synchronously.
class SystemSerialPort : public SerialPort {
public:
    // Opens the device path for exclusive use; check isOpen() afterwards.
    explicit SystemSerialPort(const QString& devicePath);

    bool isOpen() const { return m_port.isOpen(); }

    bool setLineSettings(qint32 baudRate) override;
    qint64 bytesWaiting() override;
    QByteArray read(qint64 maxBytes) override;
    qint64 write(const QByteArray& bytes) override;
    bool waitReadable(int timeoutMs) override;
    void close() override;
    bool isLost() const override { return m_lost; }
    void setArrivalHandler(std::function<void()> handler) override { m_arrival = std::move(handler); }

private:
    // Looks at the error the last operation left and clears it: line errors
    // (framing, parity, a wait that timed out) pass, a device that has gone
    // makes the port lost.
    void takeError();
    void noticeHangUp();

    QSerialPort m_port;
    bool m_lost = false;
    std::function<void()> m_arrival;
};

class SystemPortBackend : public PortBackend {
public:
    // The system's serial ports as Qt lists them, by their short names.
    QStringList portNames() override;
    bool claims(const QString& name) const override;
    std::unique_ptr<SerialPort> open(const QString& name) override;

    // The device path for a typed or listed name: a path is taken as it is, a
    // bare name is looked up under /dev. Empty when the name cannot be a
    // device (too long, a control character, a path step in a bare name).
    static QString devicePath(const QString& name);
};
