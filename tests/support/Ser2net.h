#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// A real ser2net (the Debian package) putting a serial device on loopback
// ports, as an inspection line puts a camera on the network: one port speaks
// Telnet with RFC 2217, the other is raw TCP with the line at a fixed rate.
// The configuration is generated in a folder of its own; the server is
// stopped when the object goes.
class Ser2net {
public:
    ~Ser2net();

    // Serves the device; an empty text, or why ser2net did not come up.
    QString start(const QString& devicePath, qint32 rawRate);
    // The server dies at once, as a crashed or switched-off one would.
    void kill();

    QString rfc2217Name() const { return QStringLiteral("rfc2217://127.0.0.1:%1").arg(m_rfc2217Port); }
    QString socketName() const { return QStringLiteral("socket://127.0.0.1:%1").arg(m_rawPort); }

    // A loopback port nothing listens on now.
    static quint16 freePort();

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    quint16 m_rfc2217Port = 0;
    quint16 m_rawPort = 0;
};
