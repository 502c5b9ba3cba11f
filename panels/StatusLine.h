#pragma once

#include <QWidget>

class Connection;
class QLabel;
class SendPath;

// The line at the foot of a control panel: which port at which rate, whether
// it is connected, and the last line the camera refused (or left unanswered)
// with the camera's reason, or why a typed value was not sent. That message
// stays until the camera accepts the user's next change. It follows the
// connection's and the send path's signals; nothing here talks to the camera.
class StatusLine : public QWidget {
    Q_OBJECT
public:
    explicit StatusLine(SendPath& sendPath, QWidget* parent = nullptr);

    QString connectionText() const;
    QString refusalText() const;

private:
    void showState();

    Connection& m_connection;
    QLabel* m_state;
    QLabel* m_refusal;
    int m_refusedInAction = -1;
};
