#pragma once

// A table of number edits addressed by row and column: a colour matrix, a
// filter kernel, the points of a curve.
//
//   m_matrix = new CellGrid(this, "Color matrix", {"R", "G", "B"}, {"R", "G", "B"}, -8192, 8191);
//   box->addLayout(m_matrix->makeLayout());
//   m_matrix->showAll({256, 0, 0, 0, 256, 0, 0, 0, 256});
//   m_matrix->forEachValue([this](int cell, int value) { ...send it... });
//
// Every cell is an edit whose text counts only when it is a whole number
// within the grid's range (readWholeNumber); each is named
// for accessibility by the grid's caption, its row and its column ("Color
// matrix R G"); a grid of one unnamed column names its cells by row alone
// ("WideLUT 16"). Cells are counted row by row: cell 0 is row 0 column 0,
// cell 1 is row 0 column 1, and so on. The cells are children of the parent
// and are made row by row, so Tab visits them in reading order.

#include <QList>
#include <QObject>
#include <QStringList>

#include <functional>
#include <optional>

class QGridLayout;
class QLineEdit;
class QWidget;

class CellGrid : public QObject {
public:
    CellGrid(QWidget* parent, const QString& caption, const QStringList& rows, const QStringList& columns, int min,
             int max);

    int rowCount() const { return static_cast<int>(m_rows.size()); }
    int columnCount() const { return static_cast<int>(m_columns.size()); }
    int cellCount() const { return static_cast<int>(m_cells.size()); }
    int cellOf(int row, int column) const { return row * columnCount() + column; }

    QLineEdit* cell(int index) const { return m_cells.at(index); }
    QLineEdit* cell(int row, int column) const { return cell(cellOf(row, column)); }

    // The cell's number when its text is a whole number within the range.
    std::optional<int> value(int index) const;
    std::optional<int> value(int row, int column) const { return value(cellOf(row, column)); }
    // Calls use with each cell, row by row, whose text is a number within the
    // range; the others are skipped.
    void forEachValue(const std::function<void(int index, int value)>& use) const;

    void show(int index, int value);
    // Values row by row, from cell 0.
    void showAll(const QList<int>& values);
    // Empties the cells of a row (nothing known to show).
    void clearRow(int row);
    void setEnabled(bool enabled);

    // The cells with their row labels on the left and, when the columns are
    // named, column labels on top. With rowsPerBand, a long list of rows is
    // laid out in bands of that many rows side by side.
    QGridLayout* makeLayout(int rowsPerBand = 0) const;

private:
    QWidget* m_parent;
    QStringList m_rows;
    QStringList m_columns;
    QList<QLineEdit*> m_cells;
    int m_min;
    int m_max;
};
