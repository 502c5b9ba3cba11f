#pragma once

// A table of image regions, one row per region, as the area gain, area
// exposure and multi-ROI pages show them. A page declares its table and
// leaves the rows to it:
//
//   m_rows = new RegionRows(this, connection(), bind(),
//                           {.word = cmd::AREA_GAIN, .rowCaption = "Area", .rows = 16,
//                            .columns = rectangleColumns() << RegionColumn{"Gain", 4}});
//   load().check(cmd::AREA_GAIN_ENABLE, m_enableAll);
//   m_rows->declareLoad(load());                        // one read per row, row 0 first
//   QPushButton* setAll = m_rows->makeSetAllButton(this); // "Set All Params"
//
// A region travels as "<word> <row> <enable> <value> ...", the values in wire
// order: width, height, left, top, then any extra column. On screen the
// columns run Left, Top, Width, Height, then the extras. A click on a row's
// "Enable" box or Enter in any of its fields sends the row's whole command
// with Transact (1.0 s). The answer is not shown: the row keeps what the user
// typed, so that a region refused on its way from one shape to another can be
// finished field by field.
//
// Only whole numbers within their column's limits are sent. A row holding
// anything else (text, an empty field, a negative size, a number beyond 32
// bits) sends nothing, leaves every text as it is and puts the focus on the
// field at fault; a click on its box is undone, so the box keeps showing what
// the camera has.
//
// Loading reads "<word> <row>" with QueryInts. A row whose read fails shows
// empty fields and a cleared box, never what an earlier load or another row
// left there.
//
// In a file of settings each row is the line it sends, before the page's
// other settings.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QWidget>

#include <climits>
#include <optional>
#include <vector>

class Bindings;
class Connection;
class LoadPlan;
class QCheckBox;
class QLineEdit;
class QPushButton;

struct RegionColumn {
    QString heading;   // the column's heading, and the last word of its fields' names
    int wirePosition;  // where its value goes among those after the enable flag, 0 first
    int min = 0;       // typed values outside min..max are not sent
    int max = INT_MAX;
};

// Left, Top, Width, Height on screen; width, height, left, top on the wire.
QList<RegionColumn> rectangleColumns();

struct RegionTable {
    QByteArray word;             // "AREA-GAIN"
    QString rowCaption;          // "Area": row 3 is "Area 3", its fields "Area 3 Left" ...
    int rows = 0;
    QList<RegionColumn> columns; // in screen order
};

class RegionRows : public QWidget {
    Q_OBJECT
public:
    RegionRows(QWidget* parent, Connection& connection, Bindings& bindings, RegionTable table);

    int rowCount() const { return m_table.rows; }
    QCheckBox* enableBox(int row) const { return m_rows.at(size_t(row)).enable; }
    // The field of a row in a column, columns counted in screen order.
    QLineEdit* field(int row, int column) const { return m_rows.at(size_t(row)).fields.at(column); }

    // Appends one step per row to the page's load routine, row 0 first.
    void declareLoad(LoadPlan& plan);
    void loadRow(int row);

    // Sends the row's command; false when the row holds a value that cannot
    // be sent or the camera refused it.
    bool sendRow(int row);
    // Sends every row, row 0 first; nothing at all while any row holds a
    // value that cannot be sent.
    void sendAll();
    // A "Set All Params" button, child of parent, that runs sendAll.
    QPushButton* makeSetAllButton(QWidget* parent);

private:
    struct Row {
        QCheckBox* enable = nullptr;
        QList<QLineEdit*> fields;
    };

    void buildRow(int row, Bindings& bindings);
    // The row's command for what it shows; nothing while a field holds a
    // value that cannot be sent (its column goes to faultyColumn).
    std::optional<QByteArray> rowLine(int row, int* faultyColumn = nullptr) const;
    // rowLine, with the focus put on the field at fault.
    std::optional<QByteArray> lineFor(int row);
    void clearRow(int row);

    Connection& m_connection;
    RegionTable m_table;
    std::vector<Row> m_rows;
};
