#pragma once

// A table of number edits addressed by row and column, showing camera
// settings: a colour matrix or a filter kernel (one setting per cell), the
// points of a curve (one setting of several numbers per row).
//
//   m_matrix = new CellGrid(this, "Color matrix", {"R", "G", "B"}, {"R", "G", "B"}, -8192, 8191);
//   box->addLayout(m_matrix->makeLayout());
//   m_matrix->bindCells(bind(), s.matrix);       // Enter in a cell sends that cell
//   m_points->bindRows(bind(), s.points);        // a row shows "<x> <y>"; Enter sends nothing
//   m_matrix->showAll({256, 0, 0, 0, 256, 0, 0, 0, 256});   // fills the cells, sends nothing
//   m_matrix->sendCells(sendPath());             // sends every cell that holds a value
//
// A cell's text counts only when it is a whole number within the grid's
// range (readWholeNumber). Sending the grid sends what counts, each line
// through the send path (a refused one shows the camera's value again and
// the status line says why); cells that hold no value are marked, keep
// their text and are named in the status line.
//
// Every cell is named for accessibility by the grid's caption, its row and
// its column ("Color matrix R G"); a grid of one unnamed column names its
// cells by row alone ("WideLUT 16"). Cells are counted row by row: cell 0 is
// row 0 column 0, cell 1 is row 0 column 1, and so on. The cells are
// children of the parent and are made row by row, so Tab visits them in
// reading order.

#include <QList>
#include <QObject>
#include <QStringList>

#include <optional>

class Bindings;
class CellRowBinding;
class EditBinding;
class QGridLayout;
class QLineEdit;
class QWidget;
class SendPath;
class Setting;

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

    // Each cell shows its own setting (settings in cell order); Enter in a
    // cell sends it when it holds a value.
    void bindCells(Bindings& bindings, const QList<Setting*>& settings);
    // Each row shows one setting of as many numbers as the grid has columns
    // (settings in row order); Enter sends nothing, sendRows() does.
    void bindRows(Bindings& bindings, const QList<Setting*>& settings);

    // Sends the bound cells that hold a value, in cell order.
    void sendCells(SendPath& path);
    // Sends each bound row whose cells all hold a value, in row order, as
    // "<first> <second> ...".
    void sendRows(SendPath& path);

    // Writes values into the cells, row by row from cell 0; nothing is sent.
    void showAll(const QList<int>& values);

    // The cells with their row labels on the left and, when the columns are
    // named, column labels on top. With rowsPerBand, a long list of rows is
    // laid out in bands of that many rows side by side.
    QGridLayout* makeLayout(int rowsPerBand = 0) const;

private:
    // Names in the status line what a send left out.
    void reportLeftOut(SendPath& path, const QStringList& leftOut) const;

    QWidget* m_parent;
    QString m_caption;
    QStringList m_rows;
    QStringList m_columns;
    QList<QLineEdit*> m_cells;
    int m_min;
    int m_max;
    QList<EditBinding*> m_cellBindings;
    QList<CellRowBinding*> m_rowBindings;
};
