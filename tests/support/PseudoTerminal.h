#pragma once

#include <QString>

// A pseudo-terminal pair for tests of the system port: the test opens the
// slave side by its path and reads back, from the master side, the line
// settings the port applied.
class PseudoTerminal {
public:
    PseudoTerminal();
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    bool isValid() const { return m_master >= 0; }
    QString slavePath() const { return m_slavePath; }
    int masterFd() const { return m_master; }

    // The output rate the slave side is set to, as its termios holds it; -1
    // when it cannot be read.
    int slaveBaudRate() const;

    // The far end hangs up: the master side is closed.
    void hangUp();

private:
    int m_master = -1;
    QString m_slavePath;
};
