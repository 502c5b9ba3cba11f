#pragma once

#include <QWidget>

class Connection;
class QLabel;

// The line at the foot of a control panel: which port at which rate, whether
// it is connected, and the last setting the camera refused (or left
// unanswered) with the camera's reason. It follows the connection's signals;
// nothing here talks to the camera.
class StatusLine : public QWidget {
    Q_OBJECT
public:
    explicit StatusLine(Connection& connection, QWidget* parent = nullptr);

    QString connectionText() const;
    QString refusalText() const;

private:
    void showState();

    Connection& m_connection;
    QLabel* m_state;
    QLabel* m_refusal;
};
