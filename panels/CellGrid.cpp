#include "CellGrid.h"

#include "Controls.h"
#include "Display.h"

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

CellGrid::CellGrid(QWidget* parent, const QString& caption, const QStringList& rows, const QStringList& columns,
                   int min, int max)
    : QObject(parent), m_parent(parent), m_rows(rows), m_columns(columns.isEmpty() ? QStringList{QString()} : columns),
      m_min(min), m_max(max)
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

void CellGrid::forEachValue(const std::function<void(int index, int value)>& use) const
{
    for (int index = 0; index < cellCount(); ++index) {
        if (const std::optional<int> number = value(index))
            use(index, *number);
    }
}

void CellGrid::show(int index, int value)
{
    cell(index)->setText(QString::number(value));
}

void CellGrid::showAll(const QList<int>& values)
{
    for (int index = 0; index < cellCount() && index < values.size(); ++index)
        show(index, values.at(index));
}

void CellGrid::clearRow(int row)
{
    for (int column = 0; column < columnCount(); ++column)
        cell(row, column)->clear();
}

void CellGrid::setEnabled(bool enabled)
{
    for (QLineEdit* edit : std::as_const(m_cells))
        edit->setEnabled(enabled);
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
