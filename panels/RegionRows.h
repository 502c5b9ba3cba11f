#pragma once

// A table of image regions, one row per region, as the area gain, area
// exposure and multi-ROI pages show them. Each row shows one setting of the
// page: a Numbers setting indexed by its row, whose value is the enable flag
// and then the region's numbers in wire order ("AREA-GAIN 3" holds
// "1 128 96 16 8 20"). A page declares its table and leaves the rows to it:
//
//   m_rows = new RegionRows(this, sendPath(), {.rowCaption = "Area",
//                           .columns = rectangleColumns() << RegionColumn{"Gain", 4, INT_MIN}}, s.areas);
//   QPushButton* setAll = m_rows->makeSetAllButton(this); // "Set All Params"
//
// A region travels as "<word> <row> <enable> <value> ...", the values in wire
// order: width, height, left, top, then any extra column. On screen the
// columns run Left, Top, Width, Height, then the extras. A click on a row's
// "Enable" box or Enter in any of its fields sends the row's whole line
// through the send path, so a refused row is read back and shows what the
// camera holds, and the status line says why.
//
// Only whole numbers within their column's limits are sent. A row holding
// anything else (text, an empty field, a negative size, a number beyond 32
// bits) sends nothing: every text stays as typed, the field at fault is
// marked and takes the focus, the status line says why, and a click on the
// row's box is undone. A row the camera has given no value for shows empty
// fields marked "not read" and its box partly checked; it goes out once the
// user has filled it and clicked its box.

#include <QList>
#include <QString>
#include <QWidget>

#include <climits>
#include <optional>
#include <vector>

class QCheckBox;
class QLineEdit;
class QPushButton;
class SendPath;
class Setting;

struct RegionColumn {
    QString heading;   // the column's heading, and the last word of its fields' names
    int wirePosition;  // where its value goes among those after the enable flag, 0 first
    int min = 0;       // typed values outside min..max are not sent
    int max = INT_MAX;
};

// Left, Top, Width, Height on screen; width, height, left, top on the wire.
QList<RegionColumn> rectangleColumns();

struct RegionTable {
    QString rowCaption;          // "Area": row 3 is "Area 3", its fields "Area 3 Left" ...
    QList<RegionColumn> columns; // in screen order
};

class RegionRows : public QWidget {
    Q_OBJECT
public:
    // One row per setting, in order.
    RegionRows(QWidget* parent, SendPath& path, RegionTable table, QList<Setting*> rows);

    int rowCount() const { return int(m_rows.size()); }
    QCheckBox* enableBox(int row) const { return m_rows.at(size_t(row)).enable; }
    // The field of a row in a column, columns counted in screen order.
    QLineEdit* field(int row, int column) const { return m_rows.at(size_t(row)).fields.at(column); }

    // Sends the row as it shows; false when it holds a value that cannot be
    // sent or the camera did not accept it.
    bool sendRow(int row);
    // Sends every row that holds numbers, row 0 first, and says on the
    // status line which rows it left out and why.
    void sendAll();
    // A "Set All Params" button, child of parent, that runs sendAll when the
    // exchange in progress has ended.
    QPushButton* makeSetAllButton(QWidget* parent);

private:
    struct Row {
        Setting* setting = nullptr;
        QCheckBox* enable = nullptr;
        QList<QLineEdit*> fields;
    };
    // Why a row cannot be sent: the control at fault, its heading and the reason.
    struct Fault {
        QString what;
        QString why;
        QWidget* control = nullptr;
    };

    void buildRow(int row);
    void showRow(int row);
    void showEnable(int row);
    // The row's argument for the line, "<enable> <values in wire order>",
    // with the box's state or the one given; a fault when there is none.
    std::optional<QByteArray> rowArgument(int row, std::optional<bool> enable, Fault& fault) const;
    void enableClicked(int row, bool checked);
    // Marks the field at fault, gives it the focus and says why nothing was sent.
    void reject(int row, const Fault& fault);
    QString rowName(int row) const;

    SendPath& m_path;
    RegionTable m_table;
    std::vector<Row> m_rows;
};
