#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <memory>
#include <vector>

class QIODevice;

// One line of the wire log: a line the link wrote, a line it read, or a note
// about the port (opened, rate set, closed).
struct WireLogEntry {
    enum class Kind { Sent, Received, Note };

    Kind kind = Kind::Note;
    // Microseconds since the port was opened.
    qint64 us = 0;
    // The line as it went over the wire, its carriage return included; the
    // text of a note.
    QByteArray bytes;
    // The line had not ended when it was logged: the exchange waiting for it
    // gave up, the port closed, or the log was saved meanwhile.
    bool partial = false;
};

// The line as a reader sees it: milliseconds, direction ("->" to the camera,
// "<-" from it, "--" a note) and the line in quotes with carriage returns and
// other control characters written as escapes ("OK\r"), so that blanks at
// either end stay visible. A partial line is marked after its quotes.
QString formatWireLogEntry(const WireLogEntry& entry);

// Every line that goes over the wire, in both directions, with the time since
// the port opened. The connection feeds it the bytes it writes and reads;
// they are put together into lines per direction, so that an answer read in
// pieces is logged once, whole. Only the last lines are kept (10,000 unless
// told otherwise); older ones are dropped.
//
// A line still incomplete when the exchange waiting for it gave up is logged,
// marked partial, as soon as the next bytes come in either direction; until
// then it waits for the rest of its bytes.
class WireLog : public QObject {
    Q_OBJECT
public:
    static constexpr qsizetype kDefaultCapacity = 10000;
    // A line longer than this (a camera that talks without carriage returns)
    // is logged in pieces of this size, each marked partial, so that no entry
    // grows without bound.
    static constexpr qsizetype kMaxEntryBytes = 4096;

    explicit WireLog(qsizetype capacity = kDefaultCapacity, QObject* parent = nullptr);

    // Called by the connection.
    void portOpened(const QString& description, qint64 nowUs);
    void portClosed(qint64 nowUs);
    void rateSet(qint32 baudRate, qint64 nowUs);
    void sent(const QByteArray& bytes, qint64 nowUs);
    void received(const QByteArray& bytes, qint64 nowUs);
    // The exchange waiting for an answer gave up before the answer ended.
    void waitEnded();

    qsizetype capacity() const { return m_capacity; }
    // The entries kept, oldest first.
    qsizetype size() const { return qsizetype(m_ring.size()); }
    const WireLogEntry& at(qsizetype index) const;
    // How many entries were ever logged; the newest kept one has number
    // appendedCount() - 1, the oldest appendedCount() - size().
    qint64 appendedCount() const { return m_appended; }

    // Lines that have begun but not ended yet, marked partial; they are not
    // entries (yet), so a later byte may still complete them.
    std::vector<WireLogEntry> pendingLines() const;

    // Writes every entry kept, then the pending lines; false when the device
    // cannot take it all.
    bool writeTo(QIODevice& device) const;

    void clear();

signals:
    void appended(const WireLogEntry& entry);
    void cleared();

private:
    // The bytes of one direction that have not ended in a carriage return yet.
    struct PendingLine {
        QByteArray bytes;
        qint64 lastByteUs = 0;
    };

    void take(WireLogEntry::Kind kind, PendingLine& pending, const QByteArray& bytes, qint64 nowUs);
    void flushIfCutOff();
    void flushPending(WireLogEntry::Kind kind, PendingLine& pending);
    void append(WireLogEntry entry);
    void note(const QString& text, qint64 nowUs);
    qint64 sinceOpened(qint64 nowUs) const { return nowUs - m_openedUs; }

    qsizetype m_capacity;
    // A ring: once full, m_oldest is where the next entry goes.
    std::vector<WireLogEntry> m_ring;
    qsizetype m_oldest = 0;
    qint64 m_appended = 0;
    qint64 m_openedUs = 0;
    qint64 m_lastUs = 0;
    PendingLine m_sending;
    PendingLine m_receiving;
    bool m_waitEnded = false;
};

// Appends the wire log to a file (or any device) line by line as it grows,
// each line flushed at once, so the file is current while the program runs.
// The lines still pending when it is destroyed are written last, marked
// partial.
class WireLogFile : public QObject {
    Q_OBJECT
public:
    // Opens the file for appending; null, and the reason in error, when it
    // cannot be opened.
    static std::unique_ptr<WireLogFile> open(WireLog& log, const QString& path, QString* error);
    // Writes to a device that is already open (standard error, for example).
    WireLogFile(WireLog& log, std::unique_ptr<QIODevice> device);
    ~WireLogFile() override;

private:
    void write(const WireLogEntry& entry);

    WireLog& m_log;
    std::unique_ptr<QIODevice> m_device;
};
