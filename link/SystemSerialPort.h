#pragma once

#include "PortBackend.h"

#include <QSerialPort>

#include <functional>

// A serial device of the system (/dev/ttyS0, /dev/ttyUSB0, a pseudo-terminal)
// through Qt SerialPort, used synchronously.
class SystemSerialPort : public SerialPort {
public:
    // Opens the device path for exclusive use; check isOpen() afterwards.
    explicit SystemSerialPort(const QString& devicePath);

    bool isOpen() const { return m_port.isOpen(); }

    bool setLineSettings(qint32 baudRate) override;
    qint32 baudRate() const override;
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

// A stable name of a system serial device: a link the system makes for each
// adapter (in /dev/serial/by-id, named after its maker, model and serial
// number), which names the same adapter whichever device it became.
struct StablePortName {
    QString link;   // the link's path: what the user picks
    QString device; // the device it points to now
};

// What the system says about the adapter behind a device.
struct PortDescription {
    QString description;
    QString manufacturer;
};

class SystemPortBackend : public PortBackend {
public:
    static constexpr char kStableNamesDirectory[] = "/dev/serial/by-id";
    // The links in the directory, by name; links that point nowhere are left out.
    static QList<StablePortName> stableNames(const QString& directory = QLatin1String(kStableNamesDirectory));
    // For a short name, a device path or a stable name; empty for what the
    // system does not know as a serial port (a pseudo-terminal).
    static PortDescription describe(const QString& name);

    // Whether this process may read and write the file; replaceable because
    // the tests run as root, whom no permission stops.
    using AccessCheck = std::function<bool(const QString& path)>;
    static bool mayReadAndWrite(const QString& path);

    explicit SystemPortBackend(AccessCheck mayOpen = mayReadAndWrite);

    // The system's serial ports as Qt lists them, by their short names.
    QStringList portNames() override;
    bool claims(const QString& name) const override;
    // A device that does not open is told apart by what the file system
    // says of it: missing, not a terminal device, not permitted, or else held
    // by another program.
    PortOpening open(const QString& name) override;

    // The device path for a typed or listed name: a path is taken as it is, a
    // bare name is looked up under /dev. Empty when the name cannot be a
    // device (too long, a control character, a path step in a bare name).
    static QString devicePath(const QString& name);

private:
    OpenFailure whyNotOpened(const QString& path) const;

    AccessCheck m_mayOpen;
};
