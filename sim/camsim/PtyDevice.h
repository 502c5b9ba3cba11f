#pragma once

#include <QString>

// A pseudo-terminal that stands in for a camera's serial port. The program
// keeps the master side and one handle on the slave side, so that clients can
// open and close the slave as often as they like without the line hanging up.
class PtyDevice {
public:
    PtyDevice() = default;
    ~PtyDevice();
    PtyDevice(const PtyDevice&) = delete;
    PtyDevice& operator=(const PtyDevice&) = delete;

    // Opens the pair, raw, 8N1 at this rate. False (with errorText) on failure.
    bool open(qint32 rate);
    QString errorText() const { return m_error; }

    int masterFd() const { return m_master; }
    QString slavePath() const { return m_slavePath; }

    // The rate the client last set on the terminal; -1 when it cannot be read.
    qint32 clientRate() const;

    // Hangs up: the client's reads and writes fail from now on.
    void hangUp();

private:
    int m_master = -1;
    int m_slave = -1;
    QString m_slavePath;
    QString m_error;
};
