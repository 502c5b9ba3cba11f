#pragma once

#include <QDialog>
#include <QString>

class QComboBox;

// "Serial Port Setting": the user picks or types the port and the baud rate.
// The port list holds the ports that can be opened right now (system ports
// first, then the other backends' ports); a device path may be typed instead.
class CSerialPortDlg : public QDialog {
    Q_OBJECT
public:
    CSerialPortDlg(const QString& portName, qint32 baudRate, QWidget* parent = nullptr);

    // As the user left the fields: the port text, and the baud text read as
    // a signed decimal number (0 when it is not a number).
    QString portName() const;
    qint32 baudRate() const;

    QComboBox* portCombo() const { return m_portCombo; }
    QComboBox* baudCombo() const { return m_baudCombo; }

private:
    QComboBox* m_portCombo;
    QComboBox* m_baudCombo;
};
