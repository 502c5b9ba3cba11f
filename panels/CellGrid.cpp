#include "CellGrid.h"

#include "Binding.h"
#include "Bindings.h"
#include "ControlBindings.h"
#include "Controls.h"
#include "Display.h"
#include "SendPath.h"
#include "Setting.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>

namespace {

QString cellName(const QString& caption, const QString& row, const QString& column)
{
    QStringList parts{caption};
    for (const QString& part : {row, column}) {
        if (!part.isEmpty())
            parts << part;
    }
    return parts.join(QLatin1Char(' '));
}

} // namespace

// A row of cells that together show one setting of several numbers, one per
// column, as every bound control shows its setting: the camera's numbers,
// empty with "not read", or "N/A" greyed out. It sends only when told.
class CellRowBinding : public BindingWith<CellRowBinding> {
public:
    CellRowBinding(SendPath& path, QList<QLineEdit*> cells, Setting& setting, QString caption)
        : BindingWith(path, &setting, std::move(caption)), m_cells(std::move(cells))
    {
        for (QLineEdit* cell : std::as_const(m_cells))
            QObject::connect(cell, &QLineEdit::textEdited, cell, [cell] { markInvalidInput(cell, false); });
        followSetting();
    }

    QObject* control() const override { return m_cells.value(0); }
    QList<QWidget*> widgets() const override { return {m_cells.cbegin(), m_cells.cend()}; }

    void send(const QList<int>& values)
    {
        QByteArrayList parts;
        for (int value : values)
            parts.append(QByteArray::number(value));
        deliver(parts.join(' '), values.value(0));
    }

protected:
    void showSetting() override
    {
        const Setting& setting = *m_setting;
        const QList<int> numbers = setting.numbers();
        const bool unavailable = setting.isUnavailable();
        for (int column = 0; column < m_cells.size(); ++column) {
            QLineEdit* cell = m_cells.at(column);
            markInvalidInput(cell, false);
            cell->setPlaceholderText(QString());
            if (unavailable)
                cell->setText(kNotAvailable);
            else if (column < numbers.size())
                cell->setText(QString::number(numbers.at(column)));
            else {
                cell->clear();
                cell->setPlaceholderText(kNotRead);
            }
            // Greyed out while the camera lacks the setting; a cell the page
            // disabled itself stays so.
            if (unavailable && cell->isEnabled()) {
                cell->setEnabled(false);
                m_disabledHere = true;
            } else if (!unavailable && m_disabledHere) {
                cell->setEnabled(true);
            }
        }
        if (!unavailable)
            m_disabledHere = false;
    }

private:
    QList<QLineEdit*> m_cells;
    bool m_disabledHere = false;
};

CellGrid::CellGrid(QWidget* parent, const QString& caption, const QStringList& rows, const QStringList& columns,
                   int min, int max)
    : QObject(parent), m_parent(parent), m_caption(caption), m_rows(rows),
      m_columns(columns.isEmpty() ? QStringList{QString()} : columns), m_min(min), m_max(max)
{
    for (const QString& row : std::as_const(m_rows)) {
        for (const QString& column : std::as_const(m_columns)) {
            QLineEdit* edit = makeEdit(parent);
            edit->setAccessibleName(cellName(caption, row, column));
            // Room for the widest number of the range and not much more, so
            // that the grid stays compact.
            const QString widest = QString::number(qAbs(qint64(min)) > qAbs(qint64(max)) ? min : max);
            const int width = edit->fontMetrics().horizontalAdvance(widest + QStringLiteral("00"));
            edit->setMinimumWidth(width);
            edit->setMaximumWidth(2 * width);
            m_cells.append(edit);
        }
    }
}

std::optional<int> CellGrid::value(int index) const
{
    return readWholeNumber(cell(index)->text(), m_min, m_max);
}

void CellGrid::bindCells(Bindings& bindings, const QList<Setting*>& settings)
{
    for (int index = 0; index < cellCount() && index < settings.size(); ++index) {
        m_cellBindings.append(
            &bindings.edit(cell(index), *settings.at(index), cell(index)->accessibleName()).accept(m_min, m_max));
    }
}

void CellGrid::bindRows(Bindings& bindings, const QList<Setting*>& settings)
{
    for (int row = 0; row < rowCount() && row < settings.size(); ++row) {
        QList<QLineEdit*> cells;
        for (int column = 0; column < columnCount(); ++column)
            cells.append(cell(row, column));
        m_rowBindings.append(
            &bindings.add<CellRowBinding>(cells, *settings.at(row), cellName(m_caption, m_rows.at(row), QString())));
    }
}

void CellGrid::sendCells(SendPath& path)
{
    // What is left out is named first, so that a refusal among the lines
    // sent, which matters more, is what the status line shows last.
    QStringList leftOut;
    for (int index = 0; index < m_cellBindings.size(); ++index) {
        if (!value(index)) {
            markInvalidInput(cell(index), true);
            leftOut << cell(index)->accessibleName();
        }
    }
    reportLeftOut(path, leftOut);
    for (int index = 0; index < m_cellBindings.size(); ++index) {
        if (value(index))
            m_cellBindings.at(index)->enter();
    }
}

void CellGrid::sendRows(SendPath& path)
{
    QList<std::optional<QList<int>>> rows;
    QStringList leftOut;
    for (int row = 0; row < m_rowBindings.size(); ++row) {
        QList<int> values;
        for (int column = 0; column < columnCount(); ++column) {
            if (const std::optional<int> number = value(row, column))
                values.append(*number);
            else
                markInvalidInput(cell(row, column), true);
        }
        const bool complete = values.size() == columnCount();
        rows.append(complete ? std::optional(values) : std::nullopt);
        if (!complete)
            leftOut << m_rowBindings.at(row)->caption();
    }
    reportLeftOut(path, leftOut);
    for (int row = 0; row < m_rowBindings.size(); ++row) {
        if (rows.at(row))
            m_rowBindings.at(row)->send(*rows.at(row));
    }
}

void CellGrid::reportLeftOut(SendPath& path, const QStringList& leftOut) const
{
    if (leftOut.isEmpty())
        return;
    path.rejectInput(QStringLiteral("Not sent: %1 (whole numbers from %2 to %3 only)")
                         .arg(leftOut.join(QStringLiteral(", ")))
                         .arg(m_min)
                         .arg(m_max));
}

void CellGrid::showAll(const QList<int>& values)
{
    for (int index = 0; index < cellCount() && index < values.size(); ++index) {
        cell(index)->setText(QString::number(values.at(index)));
        markInvalidInput(cell(index), false);
    }
}

QGridLayout* CellGrid::makeLayout(int rowsPerBand) const
{
    auto* layout = new QGridLayout;
    const bool namedColumns = std::any_of(m_columns.begin(), m_columns.end(), [](const QString& c) { return !c.isEmpty(); });
    const int bandRows = rowsPerBand > 0 ? rowsPerBand : qMax(1, rowCount());
    const int headerRows = namedColumns ? 1 : 0;
    const int bandWidth = 1 + columnCount();
    const int bands = (rowCount() + bandRows - 1) / bandRows;
    for (int band = 0; band < bands && namedColumns; ++band) {
        for (int column = 0; column < columnCount(); ++column)
            layout->addWidget(new QLabel(m_columns.at(column), m_parent), 0, band * bandWidth + 1 + column, Qt::AlignCenter);
    }
    for (int row = 0; row < rowCount(); ++row) {
        const int band = row / bandRows;
        const int gridRow = headerRows + row % bandRows;
        const int left = band * bandWidth;
        if (!m_rows.at(row).isEmpty())
            layout->addWidget(new QLabel(m_rows.at(row), m_parent), gridRow, left, Qt::AlignRight);
        for (int column = 0; column < columnCount(); ++column)
            layout->addWidget(cell(row, column), gridRow, left + 1 + column);
    }
    // Spare width goes to the right of the cells, not between the labels and them.
    layout->setColumnStretch(bands * bandWidth, 1);
    return layout;
}
