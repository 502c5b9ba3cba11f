#include "SerialPortDlg.h"

#include "DialogUnits.h"
#include "NetworkSerialPort.h"
#include "PortBackend.h"
#include "Ports.h"
#include "Scan.h"

#include <QComboBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QStandardItemModel>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

const QString kProfileGroup = QStringLiteral("SerialPort");
const QString kPortNameKey = QStringLiteral("PortName");
const QString kBaudRateKey = QStringLiteral("BaudRate");
const QString kRecentNetworkPortsKey = QStringLiteral("RecentNetworkPorts");
constexpr qsizetype kRecentNetworkPortCount = 5;

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

// The port list drops down as a table: the name (what the field takes), the
// adapter's description and its maker.
void showPortsAsTable(QComboBox* combo)
{
    auto* model = new QStandardItemModel(0, CSerialPortDlg::ColumnCount, combo);
    model->setHorizontalHeaderLabels(
        {QStringLiteral("Port"), QStringLiteral("Description"), QStringLiteral("Maker")});
    combo->setModel(model);
    auto* view = new QTreeView(combo);
    view->setRootIsDecorated(false);
    view->setItemsExpandable(false);
    view->setAllColumnsShowFocus(true);
    view->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    view->header()->setStretchLastSection(false);
    combo->setView(view);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(24);
}

// The drop-down is as wide as its columns need, wider than the field.
void widenPopupToItsColumns(QComboBox* combo)
{
    QAbstractItemView* view = combo->view();
    const QHeaderView* header = static_cast<QTreeView*>(view)->header();
    int width = 2 * view->frameWidth() + view->verticalScrollBar()->sizeHint().width();
    for (int column = 0; column < CSerialPortDlg::ColumnCount; ++column)
        width += qMax(view->sizeHintForColumn(column), header->sectionSizeHint(column));
    view->setMinimumWidth(width);
}

// What the description column says of a network port.
QString networkPortDescription(const QString& name)
{
    const std::optional<NetworkPortName> address = NetworkPortName::parse(name);
    if (!address)
        return {};
    return address->protocol == NetworkPortName::Protocol::Rfc2217 ? QStringLiteral("Network serial server (RFC 2217)")
                                                                   : QStringLiteral("Network serial server (raw TCP)");
}

} // namespace

void rememberPortChoice(const PortChoice& choice)
{
    if (choice.portName.isEmpty())
        return;
    QSettings profile;
    profile.beginGroup(kProfileGroup);
    profile.setValue(kPortNameKey, choice.portName);
    profile.setValue(kBaudRateKey, choice.baudRate);
    if (NetworkPortName::parse(choice.portName)) {
        QStringList recent = recentNetworkPorts();
        recent.removeAll(choice.portName);
        recent.prepend(choice.portName);
        profile.setValue(kRecentNetworkPortsKey, recent.mid(0, kRecentNetworkPortCount));
    }
}

QStringList recentNetworkPorts()
{
    QSettings profile;
    profile.beginGroup(kProfileGroup);
    QStringList recent;
    // Only well-formed names: the profile is a file the user may edit.
    for (const QString& name : profile.value(kRecentNetworkPortsKey).toStringList()) {
        if (NetworkPortName::parse(name) && !recent.contains(name) && recent.size() < kRecentNetworkPortCount)
            recent.append(name);
    }
    return recent;
}

std::optional<PortChoice> rememberedPortChoice()
{
    QSettings profile;
    profile.beginGroup(kProfileGroup);
    const QString portName = profile.value(kPortNameKey).toString();
    bool isNumber = false;
    const qint32 baudRate = profile.value(kBaudRateKey).toInt(&isNumber);
    if (portName.isEmpty() || !isNumber)
        return std::nullopt;
    return PortChoice{portName, baudRate};
}

CSerialPortDlg::CSerialPortDlg(const QString& portName, qint32 baudRate, const QString& stableNamesDirectory,
                               QWidget* parent)
    : QDialog(parent), m_portCombo(editableCombo(this)), m_baudCombo(editableCombo(this))
{
    setWindowTitle(QStringLiteral("Serial Port Setting"));

    showPortsAsTable(m_portCombo);
    fillPortList(stableNamesDirectory);
    // Listed without connecting to them: a server that does not answer would
    // hold the dialog for seconds.
    const QStringList recent = recentNetworkPorts();
    for (qsizetype i = 0; i < recent.size(); ++i)
        addPort(recent.at(i), {networkPortDescription(recent.at(i)), {}}, int(i));
    // A typed device path (a link camsim made, a pseudo-terminal) is not in
    // the system's list; while it opens it is offered first.
    if (!portName.isEmpty() && m_portCombo->findText(portName) < 0 && ProbePort(portName)) {
        const QString network = networkPortDescription(portName);
        addPort(portName, network.isEmpty() ? SystemPortBackend::describe(portName) : PortDescription{network, {}}, 0);
    }
    widenPopupToItsColumns(m_portCombo);
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

void CSerialPortDlg::fillPortList(const QString& stableNamesDirectory)
{
    PortRegistry& registry = PortRegistry::instance();
    QList<StablePortName> stableNames = SystemPortBackend::stableNames(stableNamesDirectory);
    QStringList others;
    for (const QString& name : registry.portNames()) {
        if (!registry.isSystemPort(name)) {
            others.append(name);
            continue;
        }
        if (!ProbePort(name))
            continue;
        const PortDescription description = SystemPortBackend::describe(name);
        addPort(name, description);
        // Its stable names open as it does.
        const QString device = QFileInfo(SystemPortBackend::devicePath(name)).canonicalFilePath();
        for (auto stable = stableNames.begin(); stable != stableNames.end();) {
            if (stable->device == device) {
                addPort(stable->link, description);
                stable = stableNames.erase(stable);
            } else {
                ++stable;
            }
        }
    }
    // Stable names of devices the system did not list.
    for (const StablePortName& stable : std::as_const(stableNames)) {
        if (ProbePort(stable.link))
            addPort(stable.link, SystemPortBackend::describe(stable.link));
    }
    for (const QString& name : std::as_const(others)) {
        if (ProbePort(name))
            addPort(name, {});
    }
}

void CSerialPortDlg::addPort(const QString& name, const PortDescription& description, int position)
{
    auto* model = static_cast<QStandardItemModel*>(m_portCombo->model());
    QList<QStandardItem*> row;
    for (const QString& text : {name, description.description, description.manufacturer}) {
        auto* item = new QStandardItem(text);
        item->setEditable(false);
        row.append(item);
    }
    model->insertRow(position < 0 ? model->rowCount() : position, row);
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

void CSerialPortDlg::accept()
{
    rememberPortChoice(PortChoice{portName(), baudRate()});
    QDialog::accept();
}
