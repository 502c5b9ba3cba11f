#pragma once

#include <QWidget>

#include <functional>

class QPlainTextEdit;
class QPushButton;
class WireLog;

// "Wire Log": every line the link sent and received, with the milliseconds
// since the port opened, shown live while the window is open. It keeps the
// lines the log keeps (the last 10,000). "Save..." writes them to a text
// file, "Clear" empties the log; closing only hides the window.
//
// Lines are added once the event loop runs, never from inside an exchange,
// and not at all while the window is hidden: showing it fills it from the
// log. So the window never slows the link down.
class CWireLogDlg : public QWidget {
    Q_OBJECT
public:
    // Asks for the file to save to; empty text when the user cancels.
    using SaveFileChooser = std::function<QString(QWidget* parent)>;

    explicit CWireLogDlg(WireLog& log, QWidget* parent = nullptr);

    void setSaveFileChooser(SaveFileChooser chooser) { m_chooseFile = std::move(chooser); }

    // "Save...": asks for a file and writes the log to it.
    void save();
    // Writes the log to the file; a failure is shown as a message.
    bool saveTo(const QString& path);

    QPlainTextEdit* view() const { return m_view; }
    QPushButton* saveButton() const { return m_saveButton; }
    QPushButton* clearButton() const { return m_clearButton; }
    QPushButton* closeButton() const { return m_closeButton; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void scheduleUpdate();
    void showNewLines();
    void showAllLines();

    WireLog& m_log;
    SaveFileChooser m_chooseFile;
    QPlainTextEdit* m_view;
    QPushButton* m_saveButton;
    QPushButton* m_clearButton;
    QPushButton* m_closeButton;
    // The log's appendedCount() when the view was last brought up to date.
    qint64 m_shownCount = 0;
    bool m_updateScheduled = false;
};
