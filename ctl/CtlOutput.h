#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QJsonObject>
#include <QString>

#include <mutex>

// pk70ctl's standard output and standard error, shared by the ports that run
// at the same time: each line goes out whole, and with several ports each
// says which port it belongs to ("PORT: " before a line, "port" in a JSON
// object, which has it always).
class CtlOutput {
public:
    CtlOutput(QIODevice& out, QIODevice& err, bool namePorts);

    bool namesPorts() const { return m_namePorts; }

    // A line of text on standard output.
    void line(const QString& port, const QByteArray& text);
    void object(const QString& port, QJsonObject object);
    // "pk70ctl: [PORT: ]message" on standard error.
    void error(const QString& port, const QString& message);

private:
    QByteArray prefix(const QString& port) const;

    QIODevice& m_out;
    QIODevice& m_err;
    bool m_namePorts;
    std::mutex m_mutex;
};

// Bytes from a camera or a file as text: UTF-8 when they are, else Latin-1,
// so that no byte turns into a replacement character.
QString readableText(const QByteArray& bytes);
