#include "RegionRows.h"

#include "Bindings.h"
#include "Controls.h"
#include "Display.h"
#include "LoadPlan.h"
#include "Link.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr int kFieldDigits = 7;

// "%d %d ... %d" for count values.
QByteArray valuesFormat(int count)
{
    QByteArrayList conversions;
    for (int i = 0; i < count; ++i)
        conversions << "%d";
    return conversions.join(' ');
}

// QueryInts takes its outputs as a list fixed where it is called; a row has
// the enable flag and four to seven values.
bool queryValues(Connection& connection, const QByteArray& command, QList<int>& values)
{
    const QByteArray format = valuesFormat(int(values.size()));
    int* v = values.data();
    switch (values.size()) {
    case 5:
        return QueryInts(connection, command, format, {v, v + 1, v + 2, v + 3, v + 4});
    case 6:
        return QueryInts(connection, command, format, {v, v + 1, v + 2, v + 3, v + 4, v + 5});
    case 7:
        return QueryInts(connection, command, format, {v, v + 1, v + 2, v + 3, v + 4, v + 5, v + 6});
    case 8:
        return QueryInts(connection, command, format, {v, v + 1, v + 2, v + 3, v + 4, v + 5, v + 6, v + 7});
    default:
        Q_ASSERT_X(false, "RegionRows", "a region has four to seven values");
        return false;
    }
}

} // namespace

QList<RegionColumn> rectangleColumns()
{
    return {{QStringLiteral("Left"), 2}, {QStringLiteral("Top"), 3}, {QStringLiteral("Width"), 0},
            {QStringLiteral("Height"), 1}};
}

RegionRows::RegionRows(QWidget* parent, Connection& connection, Bindings& bindings, RegionTable table)
    : QWidget(parent), m_connection(connection), m_table(std::move(table))
{
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(2);
    grid->addWidget(new QLabel(m_table.rowCaption, this), 0, 0);
    for (int column = 0; column < m_table.columns.size(); ++column)
        grid->addWidget(new QLabel(m_table.columns.at(column).heading, this), 0, 2 + column);

    m_rows.resize(size_t(m_table.rows));
    for (int row = 0; row < m_table.rows; ++row) {
        buildRow(row, bindings);
        grid->addWidget(new QLabel(QString::number(row), this), 1 + row, 0);
        grid->addWidget(m_rows[size_t(row)].enable, 1 + row, 1);
        for (int column = 0; column < m_table.columns.size(); ++column)
            grid->addWidget(field(row, column), 1 + row, 2 + column);
    }
    // Spare width goes to the right of the table, not into its fields.
    grid->setColumnStretch(2 + int(m_table.columns.size()), 1);
}

void RegionRows::buildRow(int row, Bindings& bindings)
{
    // Widgets are made row by row, left to right, so Tab reads the table
    // like a page of text.
    const QString rowName = m_table.rowCaption + QLatin1Char(' ') + QString::number(row);
    Row& controls = m_rows[size_t(row)];
    controls.enable = new QCheckBox(QStringLiteral("Enable"), this);
    controls.enable->setAccessibleName(rowName + QStringLiteral(" Enable"));
    bindings.action(controls.enable, [this, row] {
        QCheckBox* box = enableBox(row);
        // A row that cannot be sent leaves its box as the camera has it.
        if (const std::optional<QByteArray> line = lineFor(row))
            Transact(m_connection, *line, 1.0);
        else
            box->setChecked(!box->isChecked());
    });
    for (const RegionColumn& column : std::as_const(m_table.columns)) {
        QLineEdit* edit = makeEdit(this);
        const int digits = edit->fontMetrics().horizontalAdvance(QString(kFieldDigits, QLatin1Char('0')));
        edit->setMinimumWidth(digits);
        edit->setMaximumWidth(2 * digits);
        bindings.edit(edit, rowName + QLatin1Char(' ') + column.heading, m_table.word).onEnter([this, row] {
            sendRow(row);
        });
        controls.fields << edit;
    }
    // A file of settings keeps the row as its own line. Rows go before the
    // page's other settings: an enable-all switch is taken only once a
    // region is enabled.
    bindings.setting(controls.enable, m_table.word, [this, row] { return rowLine(row); })
        .indexed(QByteArray::number(row))
        .appliedFirst();
}

std::optional<QByteArray> RegionRows::rowLine(int row, int* faultyColumn) const
{
    const Row& controls = m_rows.at(size_t(row));
    QList<int> wireValues(m_table.columns.size());
    for (int column = 0; column < m_table.columns.size(); ++column) {
        const RegionColumn& spec = m_table.columns.at(column);
        const std::optional<int> value = readWholeNumber(controls.fields.at(column)->text(), spec.min, spec.max);
        if (!value) {
            if (faultyColumn)
                *faultyColumn = column;
            return std::nullopt;
        }
        wireValues[spec.wirePosition] = *value;
    }
    QByteArray line = m_table.word + ' ' + QByteArray::number(row) + ' '
        + QByteArray::number(controls.enable->isChecked() ? 1 : 0);
    for (int value : std::as_const(wireValues))
        line += ' ' + QByteArray::number(value);
    return line;
}

std::optional<QByteArray> RegionRows::lineFor(int row)
{
    int faultyColumn = -1;
    const std::optional<QByteArray> line = rowLine(row, &faultyColumn);
    if (!line)
        field(row, faultyColumn)->setFocus();
    return line;
}

bool RegionRows::sendRow(int row)
{
    const std::optional<QByteArray> line = lineFor(row);
    return line && Transact(m_connection, *line, 1.0);
}

void RegionRows::sendAll()
{
    QByteArrayList lines;
    for (int row = 0; row < m_table.rows; ++row) {
        const std::optional<QByteArray> line = lineFor(row);
        if (!line)
            return;
        lines << *line;
    }
    for (const QByteArray& line : std::as_const(lines))
        Transact(m_connection, line, 1.0);
}

QPushButton* RegionRows::makeSetAllButton(QWidget* parent)
{
    auto* button = new QPushButton(QStringLiteral("Set All Params"), parent);
    connect(button, &QPushButton::clicked, this, [this] { sendAll(); });
    return button;
}

void RegionRows::declareLoad(LoadPlan& plan)
{
    for (int row = 0; row < m_table.rows; ++row)
        plan.step([this, row] { loadRow(row); });
}

void RegionRows::loadRow(int row)
{
    // The enable flag, then the values in wire order.
    QList<int> values(1 + m_table.columns.size());
    if (!queryValues(m_connection, m_table.word + ' ' + QByteArray::number(row), values)) {
        clearRow(row);
        return;
    }
    const Row& controls = m_rows.at(size_t(row));
    showCheck(controls.enable, values.at(0));
    for (int column = 0; column < m_table.columns.size(); ++column)
        controls.fields.at(column)->setText(QString::number(values.at(1 + m_table.columns.at(column).wirePosition)));
}

void RegionRows::clearRow(int row)
{
    const Row& controls = m_rows.at(size_t(row));
    controls.enable->setChecked(false);
    for (QLineEdit* edit : controls.fields)
        edit->clear();
}
