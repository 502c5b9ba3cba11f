#include "CtlOutput.h"

#include <QJsonDocument>
#include <QStringDecoder>

CtlOutput::CtlOutput(QIODevice& out, QIODevice& err, bool namePorts) : m_out(out), m_err(err), m_namePorts(namePorts) {}

QByteArray CtlOutput::prefix(const QString& port) const
{
    return m_namePorts ? port.toLocal8Bit() + ": " : QByteArray();
}

void CtlOutput::line(const QString& port, const QByteArray& text)
{
    const QByteArray whole = prefix(port) + text + '\n';
    const std::lock_guard lock(m_mutex);
    m_out.write(whole);
}

void CtlOutput::object(const QString& port, QJsonObject object)
{
    object.insert(QStringLiteral("port"), port);
    const QByteArray whole = QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
    const std::lock_guard lock(m_mutex);
    m_out.write(whole);
}

void CtlOutput::error(const QString& port, const QString& message)
{
    const QByteArray whole = "pk70ctl: " + prefix(port) + message.toLocal8Bit() + '\n';
    const std::lock_guard lock(m_mutex);
    m_err.write(whole);
}

QString readableText(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    return utf8.hasError() ? QString::fromLatin1(bytes) : text;
}
