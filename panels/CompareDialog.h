#pragma once

#include "SettingsComparison.h"

#include <QDialog>
#include <QList>

class Catalogue;
class QPushButton;
class QTableWidget;
class SendPath;

// "Compare with File…": the settings of a file that the camera holds
// otherwise, one row each (page, caption, command word, the camera's value,
// the file's), with a check box. "Apply Selected" sends the file's lines of
// the checked rows through the send path, as the user's action (so a refusal
// shows as any other), and then lists what still differs. A line of the file
// that is no setting of the camera is listed without a check box.
class CompareDialog : public QDialog {
    Q_OBJECT
public:
    CompareDialog(SendPath& sendPath, Catalogue& catalogue, const QString& fileName,
                  QList<SettingsFileLine> fileLines, QWidget* parent);

    QTableWidget* table() const { return m_table; }
    QPushButton* applyButton() const { return m_apply; }

    // Shows what differs between the file and the catalogue's values now.
    void refresh();
    // Sends the checked rows' lines.
    void applySelected();

private:
    SendPath& m_sendPath;
    Catalogue& m_catalogue;
    QList<SettingsFileLine> m_fileLines;
    QList<SettingDifference> m_differences;
    QTableWidget* m_table;
    QPushButton* m_apply;
};
