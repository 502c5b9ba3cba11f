#pragma once

#include <QWidget>

class CMyEdit;
class Connection;
class SendPath;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// "Terminal": the user types a raw command line, Enter sends it, and the
// camera's raw answer is appended to the response log. Up and Down recall the
// lines sent before. Closing only hides the window.
//
// Enter waits for the answer's last line for as long as bytes keep coming
// (a long HELP list at a low rate), showing them as they come while the
// windows go on repainting; bytes that come after that wait, or between
// commands, are shown as text of their own on a line of their own while the
// terminal is open. Both panes keep their last 10,000 lines, and no line of
// the log grows beyond 4,096 characters. The log is in a fixed-width font.
//
// Up recalls the line sent last, then the ones before it; Down goes back
// towards the last one.
//
// A plain top-level widget rather than a dialog: Enter, Up, Down and Escape
// are handled for the whole window and then still reach the focused control,
// and no key ever triggers a default or cancel button.
class CTerminalDlg : public QWidget {
    Q_OBJECT
public:
    // How long Enter waits for the answer's terminal line when nothing more
    // arrives, and the longest it waits while bytes keep coming.
    static constexpr int kAnswerTimeoutMs = 800;
    static constexpr int kLongAnswerTimeoutMs = 10000;
    static constexpr int kRecallLength = 128;
    static constexpr int kMaxLines = 10000;
    static constexpr int kMaxLineLength = 4096;
    // How often the windows get to repaint while an answer comes in.
    static constexpr int kRepaintEveryMs = 50;

    explicit CTerminalDlg(SendPath& sendPath, QWidget* parent = nullptr);

    // Sends the command edit's text; while another exchange with the camera
    // is running, once it is over.
    void sendCommand();
    void recallPrevious();
    void recallNext();

    QLineEdit* commandEdit() const { return m_commandEdit; }
    CMyEdit* sentList() const { return m_sentList; }
    QPlainTextEdit* responseLog() const { return m_responseLog; }
    QPushButton* closeButton() const { return m_closeButton; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void send(const QString& command);
    void appendToSentList(const QString& command);
    // Appends received bytes, starting on a line of their own.
    void appendToResponseLog(const QByteArray& bytes);
    // Appends them to the log's last line.
    void continueResponseLog(const QByteArray& bytes);
    void recall(int position);
    void putIntoCommandEdit(const QString& text, bool selectAll);

    SendPath& m_sendPath;
    Connection& m_connection;
    QLineEdit* m_commandEdit;
    CMyEdit* m_sentList;
    QPlainTextEdit* m_responseLog;
    QPushButton* m_closeButton;
    // The sent-list line Up and Down recalled last; one past the last line
    // once a line has been sent.
    int m_historyPosition = 0;
};
