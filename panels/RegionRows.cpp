#include "RegionRows.h"

#include "Binding.h"
#include "Controls.h"
#include "Display.h"
#include "Link.h"
#include "SendPath.h"
#include "Setting.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr int kFieldDigits = 7;

} // namespace

QList<RegionColumn> rectangleColumns()
{
    return {{QStringLiteral("Left"), 2}, {QStringLiteral("Top"), 3}, {QStringLiteral("Width"), 0},
            {QStringLiteral("Height"), 1}};
}

RegionRows::RegionRows(QWidget* parent, SendPath& path, RegionTable table, QList<Setting*> rows)
    : QWidget(parent), m_path(path), m_table(std::move(table))
{
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(2);
    grid->addWidget(new QLabel(m_table.rowCaption, this), 0, 0);
    for (int column = 0; column < m_table.columns.size(); ++column)
        grid->addWidget(new QLabel(m_table.columns.at(column).heading, this), 0, 2 + column);

    m_rows.resize(size_t(rows.size()));
    for (int row = 0; row < rowCount(); ++row) {
        m_rows[size_t(row)].setting = rows.at(row);
        buildRow(row);
        grid->addWidget(new QLabel(QString::number(row), this), 1 + row, 0);
        grid->addWidget(enableBox(row), 1 + row, 1);
        for (int column = 0; column < m_table.columns.size(); ++column)
            grid->addWidget(field(row, column), 1 + row, 2 + column);
        connect(rows.at(row), &Setting::changed, this, [this, row] { showRow(row); });
        showRow(row);
    }
    // Spare width goes to the right of the table, not into its fields.
    grid->setColumnStretch(2 + int(m_table.columns.size()), 1);
}

QString RegionRows::rowName(int row) const
{
    return m_table.rowCaption + QLatin1Char(' ') + QString::number(row);
}

void RegionRows::buildRow(int row)
{
    // Widgets are made row by row, left to right, so Tab reads the table
    // like a page of text.
    Row& controls = m_rows[size_t(row)];
    controls.enable = new QCheckBox(QStringLiteral("Enable"), this);
    controls.enable->setAccessibleName(rowName(row) + QStringLiteral(" Enable"));
    QCheckBox* box = controls.enable;
    connect(box, &QCheckBox::clicked, this, [this, row, box] {
        const bool checked = box->checkState() == Qt::Checked;
        m_path.whenIdle([this, row, checked] { enableClicked(row, checked); }, box);
    });
    for (const RegionColumn& column : std::as_const(m_table.columns)) {
        QLineEdit* edit = makeEdit(this);
        const int digits = edit->fontMetrics().horizontalAdvance(QString(kFieldDigits, QLatin1Char('0')));
        edit->setMinimumWidth(digits);
        edit->setMaximumWidth(2 * digits);
        edit->setAccessibleName(rowName(row) + QLatin1Char(' ') + column.heading);
        connect(edit, &QLineEdit::returnPressed, this, [this, row, edit] {
            m_path.whenIdle([this, row] { sendRow(row); }, edit);
        });
        connect(edit, &QLineEdit::textEdited, edit, [edit] { markInvalidInput(edit, false); });
        controls.fields << edit;
    }
}

void RegionRows::showEnable(int row)
{
    const Row& controls = m_rows.at(size_t(row));
    const QList<int> values = controls.setting->numbers();
    showCheckOrNotRead(controls.enable, values.isEmpty() ? std::nullopt : std::optional<bool>(values.at(0) == 1));
}

void RegionRows::showRow(int row)
{
    const Row& controls = m_rows.at(size_t(row));
    const Setting& setting = *controls.setting;
    const QList<int> values = setting.numbers();
    const bool known = values.size() == 1 + m_table.columns.size();
    showEnable(row);
    for (int column = 0; column < m_table.columns.size(); ++column) {
        QLineEdit* edit = controls.fields.at(column);
        markInvalidInput(edit, false);
        if (known) {
            edit->setPlaceholderText(QString());
            edit->setText(QString::number(values.at(1 + m_table.columns.at(column).wirePosition)));
        } else {
            edit->clear();
            edit->setPlaceholderText(setting.isUnavailable() ? kNotAvailable : kNotRead);
        }
    }
}

std::optional<QByteArray> RegionRows::rowArgument(int row, std::optional<bool> enable, Fault& fault) const
{
    const Row& controls = m_rows.at(size_t(row));
    QList<int> wireValues(m_table.columns.size());
    for (int column = 0; column < m_table.columns.size(); ++column) {
        const RegionColumn& spec = m_table.columns.at(column);
        const QString text = controls.fields.at(column)->text();
        const std::optional<int> value = readWholeNumber(text, spec.min, spec.max);
        if (!value) {
            fault = {spec.heading, whyNotWholeNumber(text, spec.min, spec.max), controls.fields.at(column)};
            return std::nullopt;
        }
        wireValues[spec.wirePosition] = *value;
    }
    if (!enable) {
        if (controls.enable->checkState() == Qt::PartiallyChecked) {
            fault = {QStringLiteral("Enable"), QStringLiteral("not read; click it to choose"), controls.enable};
            return std::nullopt;
        }
        enable = controls.enable->isChecked();
    }
    QByteArray argument = QByteArray::number(*enable ? 1 : 0);
    for (int value : std::as_const(wireValues))
        argument += ' ' + QByteArray::number(value);
    return argument;
}

void RegionRows::reject(int row, const Fault& fault)
{
    if (auto* edit = qobject_cast<QLineEdit*>(fault.control))
        markInvalidInput(edit, true);
    fault.control->setFocus();
    m_path.rejectInput(QStringLiteral("%1 %2: %3; nothing sent").arg(rowName(row), fault.what, fault.why));
}

bool RegionRows::sendRow(int row)
{
    Fault fault;
    const std::optional<QByteArray> argument = rowArgument(row, std::nullopt, fault);
    if (!argument) {
        reject(row, fault);
        return false;
    }
    return m_path.set(*m_rows.at(size_t(row)).setting, *argument) == SetOutcome::Accepted;
}

void RegionRows::enableClicked(int row, bool checked)
{
    Fault fault;
    const std::optional<QByteArray> argument = rowArgument(row, checked, fault);
    if (!argument) {
        // The box goes back to what the camera has; the texts stay as typed.
        showEnable(row);
        reject(row, fault);
        return;
    }
    m_path.set(*m_rows.at(size_t(row)).setting, *argument);
}

void RegionRows::sendAll()
{
    QStringList leftOut;
    QStringList notAccepted;
    QWidget* firstFault = nullptr;
    for (int row = 0; row < rowCount(); ++row) {
        Fault fault;
        const std::optional<QByteArray> argument = rowArgument(row, std::nullopt, fault);
        if (!argument) {
            if (auto* edit = qobject_cast<QLineEdit*>(fault.control))
                markInvalidInput(edit, true);
            leftOut << QStringLiteral("%1 (%2: %3)").arg(rowName(row), fault.what, fault.why);
            if (!firstFault)
                firstFault = fault.control;
            continue;
        }
        if (m_path.set(*m_rows.at(size_t(row)).setting, *argument) != SetOutcome::Accepted)
            notAccepted << rowName(row);
    }
    if (leftOut.isEmpty())
        return;
    firstFault->setFocus();
    QString text = QStringLiteral("Set All Params left out %1").arg(leftOut.join(QStringLiteral(", ")));
    if (!notAccepted.isEmpty())
        text += QStringLiteral("; the camera did not accept %1").arg(notAccepted.join(QStringLiteral(", ")));
    m_path.rejectInput(text);
}

QPushButton* RegionRows::makeSetAllButton(QWidget* parent)
{
    auto* button = new QPushButton(QStringLiteral("Set All Params"), parent);
    connect(button, &QPushButton::clicked, this, [this, button] { m_path.whenIdle([this] { sendAll(); }, button); });
    return button;
}
