#include "WireLog.h"

#include <QFile>

#include <algorithm>
#include <iterator>
#include <utility>

namespace {

QString quoted(const QByteArray& bytes)
{
    static constexpr std::pair<char, const char*> kEscapes[] = {
        {'\r', "\\r"}, {'\n', "\\n"}, {'\t', "\\t"}, {'"', "\\\""}, {'\\', "\\\\"}};
    QString text = QStringLiteral("\"");
    for (const char c : bytes) {
        const auto escape = std::find_if(std::begin(kEscapes), std::end(kEscapes),
                                         [c](const auto& entry) { return entry.first == c; });
        if (escape != std::end(kEscapes))
            text += QLatin1String(escape->second);
        else if (uchar(c) >= 0x20 && uchar(c) < 0x7f)
            text += QLatin1Char(c);
        else
            text += QStringLiteral("\\x%1").arg(uchar(c), 2, 16, QLatin1Char('0'));
    }
    return text + QLatin1Char('"');
}

const char* directionOf(WireLogEntry::Kind kind)
{
    switch (kind) {
    case WireLogEntry::Kind::Sent:
        return "->";
    case WireLogEntry::Kind::Received:
        return "<-";
    case WireLogEntry::Kind::Note:
        break;
    }
    return "--";
}

// One line of a log file.
QByteArray fileLine(const WireLogEntry& entry)
{
    return (formatWireLogEntry(entry) + QLatin1Char('\n')).toUtf8();
}

} // namespace

QString formatWireLogEntry(const WireLogEntry& entry)
{
    QString line = QString::asprintf("%10.3f ms  %s  ", entry.us / 1000.0, directionOf(entry.kind));
    if (entry.kind == WireLogEntry::Kind::Note)
        return line + QString::fromUtf8(entry.bytes);
    line += quoted(entry.bytes);
    if (entry.partial)
        line += QLatin1String("  (partial: the line had not ended)");
    return line;
}

WireLog::WireLog(qsizetype capacity, QObject* parent) : QObject(parent), m_capacity(std::max<qsizetype>(1, capacity))
{
}

void WireLog::portOpened(const QString& description, qint64 nowUs)
{
    flushPending(WireLogEntry::Kind::Sent, m_sending);
    flushPending(WireLogEntry::Kind::Received, m_receiving);
    m_openedUs = nowUs;
    m_lastUs = 0;
    m_waitEnded = false;
    note(QStringLiteral("opened %1").arg(description), nowUs);
}

void WireLog::portClosed(qint64 nowUs)
{
    flushPending(WireLogEntry::Kind::Sent, m_sending);
    flushPending(WireLogEntry::Kind::Received, m_receiving);
    m_waitEnded = false;
    note(QStringLiteral("closed"), nowUs);
}

void WireLog::rateSet(qint32 baudRate, qint64 nowUs)
{
    note(QStringLiteral("%1 baud").arg(baudRate), nowUs);
}

void WireLog::sent(const QByteArray& bytes, qint64 nowUs)
{
    take(WireLogEntry::Kind::Sent, m_sending, bytes, nowUs);
}

void WireLog::received(const QByteArray& bytes, qint64 nowUs)
{
    take(WireLogEntry::Kind::Received, m_receiving, bytes, nowUs);
}

void WireLog::waitEnded()
{
    m_waitEnded = true;
}

void WireLog::take(WireLogEntry::Kind kind, PendingLine& pending, const QByteArray& bytes, qint64 nowUs)
{
    if (bytes.isEmpty())
        return;
    flushIfCutOff();
    qsizetype start = 0;
    for (;;) {
        const qsizetype end = bytes.indexOf('\r', start);
        const qsizetype stop = end < 0 ? bytes.size() : end + 1;
        pending.bytes += QByteArrayView(bytes).sliced(start, stop - start);
        pending.lastByteUs = nowUs;
        while (pending.bytes.size() > kMaxEntryBytes) {
            append({kind, sinceOpened(nowUs), pending.bytes.first(kMaxEntryBytes), true});
            pending.bytes.remove(0, kMaxEntryBytes);
        }
        if (end < 0)
            break;
        append({kind, sinceOpened(nowUs), pending.bytes, false});
        pending.bytes.clear();
        start = stop;
    }
}

void WireLog::flushIfCutOff()
{
    if (!m_waitEnded)
        return;
    m_waitEnded = false;
    flushPending(WireLogEntry::Kind::Received, m_receiving);
    flushPending(WireLogEntry::Kind::Sent, m_sending);
}

void WireLog::flushPending(WireLogEntry::Kind kind, PendingLine& pending)
{
    if (pending.bytes.isEmpty())
        return;
    append({kind, sinceOpened(pending.lastByteUs), pending.bytes, true});
    pending.bytes.clear();
}

void WireLog::note(const QString& text, qint64 nowUs)
{
    append({WireLogEntry::Kind::Note, sinceOpened(nowUs), text.toUtf8(), false});
}

void WireLog::append(WireLogEntry entry)
{
    // A partial line carries the time of its last byte, which may lie before
    // lines of the other direction logged meanwhile; the log stays in order.
    entry.us = std::max(entry.us, m_lastUs);
    m_lastUs = entry.us;
    if (size() < m_capacity) {
        m_ring.push_back(std::move(entry));
    } else {
        m_ring[m_oldest] = std::move(entry);
        m_oldest = (m_oldest + 1) % m_capacity;
    }
    ++m_appended;
    emit appended(at(size() - 1));
}

const WireLogEntry& WireLog::at(qsizetype index) const
{
    return m_ring[(m_oldest + index) % size()];
}

std::vector<WireLogEntry> WireLog::pendingLines() const
{
    std::vector<WireLogEntry> lines;
    for (const auto& [kind, pending] : {std::pair{WireLogEntry::Kind::Sent, &m_sending},
                                        std::pair{WireLogEntry::Kind::Received, &m_receiving}}) {
        if (!pending->bytes.isEmpty())
            lines.push_back({kind, std::max(sinceOpened(pending->lastByteUs), m_lastUs), pending->bytes, true});
    }
    return lines;
}

bool WireLog::writeTo(QIODevice& device) const
{
    bool ok = true;
    const auto write = [&](const WireLogEntry& entry) {
        ok = ok && device.write(fileLine(entry)) >= 0;
    };
    for (qsizetype i = 0; i < size(); ++i)
        write(at(i));
    for (const WireLogEntry& line : pendingLines())
        write(line);
    return ok;
}

void WireLog::clear()
{
    m_ring.clear();
    m_oldest = 0;
    emit cleared();
}

std::unique_ptr<WireLogFile> WireLogFile::open(WireLog& log, const QString& path, QString* error)
{
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::WriteOnly | QIODevice::Append)) {
        if (error)
            *error = QStringLiteral("cannot write the wire log to %1: %2").arg(path, file->errorString());
        return nullptr;
    }
    return std::make_unique<WireLogFile>(log, std::move(file));
}

WireLogFile::WireLogFile(WireLog& log, std::unique_ptr<QIODevice> device) : m_log(log), m_device(std::move(device))
{
    connect(&m_log, &WireLog::appended, this, &WireLogFile::write);
}

WireLogFile::~WireLogFile()
{
    for (const WireLogEntry& line : m_log.pendingLines())
        write(line);
}

void WireLogFile::write(const WireLogEntry& entry)
{
    m_device->write(fileLine(entry));
    if (auto* file = qobject_cast<QFileDevice*>(m_device.get()))
        file->flush();
}
