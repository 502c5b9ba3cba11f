#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// A real ser2net putting a serial device on two free loopback ports: Telnet
// with RFC 2217, and raw TCP with the line at a fixed rate. Its configuration
// is generated in a folder of its own; it is killed when the object goes.
class Ser2net {
public:
    ~Ser2net();

    // Serves the device; an empty text, or why ser2net did not come up.
    QString start(const QString& devicePath, qint32 rawRate);
    void kill(); // at once, as a crashed or switched-off server

    QString rfc2217Name() const { return QStringLiteral("rfc2217://127.0.0.1:%1").arg(m_rfc2217Port); }
    QString socketName() const { return QStringLiteral("socket://127.0.0.1:%1").arg(m_rawPort); }
    static quint16 freePort(); // a loopback port nothing listens on now

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    quint16 m_rfc2217Port = 0;
    quint16 m_rawPort = 0;
};
