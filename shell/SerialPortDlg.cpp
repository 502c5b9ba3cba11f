#include "SerialPortDlg.h"

#include "DialogUnits.h"
#include "Ports.h"
#include "Scan.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QComboBox* editableCombo(QWidget* parent)
{
    auto* combo = new QComboBox(parent);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    return combo;
}

// Selects the first entry that begins with the text; with no match nothing is
// selected and the field stays empty.
void selectFirstBeginningWith(QComboBox* combo, const QString& text)
{
    for (int i = 0; i < combo->count(); ++i) {
        if (combo->itemText(i).startsWith(text)) {
            combo->setCurrentIndex(i);
            return;
        }
    }
    combo->setCurrentIndex(-1);
    combo->setEditText(QString());
}

} // namespace

CSerialPortDlg::CSerialPortDlg(const QString& portName, qint32 baudRate, QWidget* parent)
    : QDialog(parent), m_portCombo(editableCombo(this)), m_baudCombo(editableCombo(this))
{
    setWindowTitle(QStringLiteral("Serial Port Setting"));

    for (const QString& name : listedPortNames()) {
        if (ProbePort(name))
            m_portCombo->addItem(name);
    }
    for (const qint32 rate : kOfferedRates)
        m_baudCombo->addItem(QString::number(rate));
    selectFirstBeginningWith(m_portCombo, portName);
    selectFirstBeginningWith(m_baudCombo, QString::number(baudRate));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("PortName"), m_portCombo);
    fields->addRow(QStringLiteral("Baudrate"), m_baudCombo);
    m_portCombo->setAccessibleName(QStringLiteral("PortName"));
    m_baudCombo->setAccessibleName(QStringLiteral("Baudrate"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addStretch();
    layout->addLayout(buttons);

    resize(DialogUnits::standard().toPixels(316, 180));
}

QString CSerialPortDlg::portName() const
{
    // A device path typed with a stray blank around it still names the device.
    return m_portCombo->currentText().trimmed();
}

qint32 CSerialPortDlg::baudRate() const
{
    return readDecimal(m_baudCombo->currentText());
}
