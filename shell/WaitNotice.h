#pragma once

#include <QPointer>
#include <QWidget>

class Connection;
class QLabel;
class QPushButton;

// Keeps the windows alive while the camera is waited for: installed as the
// connection's wait pump, it lets pending window events run (repaints,
// accessibility requests, input; user actions wait their turn since the
// connection is busy), and once one wait has lasted half a second it shows
// what it waits for, "Waiting for the answer to "GAIN 12"…", with Cancel,
// which ends that wait at once. The notice goes when the connection is free.
class WaitNotice : public QWidget {
    Q_OBJECT
public:
    static constexpr qint64 kShowAfterMs = 500;

    explicit WaitNotice(Connection& connection, QWidget* parent = nullptr);
    ~WaitNotice() override;

    // What the connection's wait pump runs.
    void pump();

    QLabel* text() const { return m_text; }
    QPushButton* cancelButton() const { return m_cancel; }

private:
    void follow();

    Connection& m_connection;
    QLabel* m_text;
    QPushButton* m_cancel;
};
