#pragma once

#include "CameraLinkDlg.h"
#include "SystemSerialPort.h"

#include <QDialog>
#include <QString>

#include <optional>

class QComboBox;

// The last port and rate accepted, kept in the profile (group "SerialPort");
// the start-up offers them first.
void rememberPortChoice(const PortChoice& choice);
std::optional<PortChoice> rememberedPortChoice();
// The network ports (rfc2217://, socket://) accepted last, the latest first,
// at most five; remembered with the choice.
QStringList recentNetworkPorts();

// "Serial Port Setting": the user picks or types the port and the baud rate.
// The port list holds the ports that can be opened right now: the system's
// ports, each followed by its stable names (the links the system keeps for
// the adapter, under stableNamesDirectory), with the adapter's description and
// maker beside them; then the other backends' ports. The network ports used
// last come before all of them, and the port given, when it is a typed path
// that opens (or a network port), first. A device path or a network port may
// be typed instead. Accepting remembers the choice.
class CSerialPortDlg : public QDialog {
    Q_OBJECT
public:
    enum Column { PortColumn, DescriptionColumn, MakerColumn, ColumnCount };

    CSerialPortDlg(const QString& portName, qint32 baudRate,
                   const QString& stableNamesDirectory = QLatin1String(SystemPortBackend::kStableNamesDirectory),
                   QWidget* parent = nullptr);

    // As the user left the fields: the port text, and the baud text read as
    // a signed decimal number (0 when it is not a number).
    QString portName() const;
    qint32 baudRate() const;

    QComboBox* portCombo() const { return m_portCombo; }
    QComboBox* baudCombo() const { return m_baudCombo; }

    void accept() override;

private:
    void fillPortList(const QString& stableNamesDirectory);
    // At the end unless a position is given.
    void addPort(const QString& name, const PortDescription& description, int position = -1);

    QComboBox* m_portCombo;
    QComboBox* m_baudCombo;
};
