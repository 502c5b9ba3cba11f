#pragma once

#include "PortBackend.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

struct gensio;
struct NetworkLine;

// The name of a camera's serial line on the network: "rfc2217://HOST:PORT"
// for a serial server that lets its client set the line (RFC 2217, the Telnet
// COM-PORT option), "socket://HOST:PORT" for a raw TCP port whose line runs
// at the rate the server was set to. HOST is a host name, an IPv4 address or
// an IPv6 address in brackets.
struct NetworkPortName {
    enum class Protocol { Rfc2217, RawTcp };

    Protocol protocol = Protocol::Rfc2217;
    QString host;
    quint16 port = 0;

    // Empty for a name that is not well formed. Only characters a host name
    // or an address can hold are taken, so nothing in the name reaches the
    // network library as an option of its own.
    static std::optional<NetworkPortName> parse(const QString& name);
    // Whether the name begins like a network port, well formed or not.
    static bool hasNetworkScheme(const QString& name);

    // "HOST port PORT", as messages name the server.
    QString server() const;
};

// A serial line behind a network server, reached through the gensio library
// (the library ser2net is built on), which speaks Telnet and RFC 2217. The
// library's own thread takes in what arrives; this port reads it from there,
// so reading never waits on the network, and waits block on a condition for
// at most the time asked for.
//
// Over RFC 2217 a rate is set once the server has confirmed it, so that no
// byte written after it goes out at the old rate. The modem-control lines are
// left as the server drives them: a server on a line without them (ser2net on
// a pseudo-terminal) does not answer such requests, and would not answer the
// requests after them either.
//
// The server closing the connection, or the network failing under it, makes
// the port lost once the bytes that came before are read.
class NetworkSerialPort : public SerialPort {
public:
    NetworkSerialPort(gensio* io, std::shared_ptr<NetworkLine> line, NetworkPortName::Protocol protocol);
    ~NetworkSerialPort() override;

    bool setLineSettings(qint32 baudRate) override;
    qint32 baudRate() const override { return m_rate; }
    qint64 bytesWaiting() override;
    QByteArray read(qint64 maxBytes) override;
    qint64 write(const QByteArray& bytes) override;
    bool waitReadable(int timeoutMs) override;
    void close() override;
    bool isLost() const override;
    void setArrivalHandler(std::function<void()> handler) override;
    bool setsRate() const override { return m_protocol == NetworkPortName::Protocol::Rfc2217; }

    // Asks an RFC 2217 server for 8 data bits, no parity, one stop bit and no
    // flow control; false when the server does not speak RFC 2217.
    bool requestFrame();

private:
    void deliverArrival();

    gensio* m_io;
    std::shared_ptr<NetworkLine> m_line;
    NetworkPortName::Protocol m_protocol;
    qint32 m_rate = 0;
    std::function<void()> m_arrival;
    // Lives in the thread that opened the port; arrivals are posted to it.
    QObject m_context;
};

// Opens network ports by their names; it lists none (the port dialog offers
// the ones used last).
class NetworkPortBackend : public PortBackend {
public:
    // The longest an open may take: looking the host up, connecting and
    // agreeing on Telnet options.
    static constexpr int kConnectTimeoutMs = 4500;

    QStringList portNames() override { return {}; }
    bool claims(const QString& name) const override { return NetworkPortName::hasNetworkScheme(name); }
    // Says which server could not be reached and why.
    PortOpening open(const QString& name) override;
    // A well-formed name; no connection is made.
    bool probe(const QString& name) override { return NetworkPortName::parse(name).has_value(); }
};
