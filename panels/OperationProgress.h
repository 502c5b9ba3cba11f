#pragma once

#include "LongOperation.h"

#include <QWidget>

class QLabel;
class QPushButton;

// The line a page shows under its detection buttons. While a detection
// polls the camera: the polls made against the limit and a "Stop" button
// that ends the polling before the next poll (the page then tells the camera
// to stop). Afterwards: how it ended (finished, gave
// up at the limit, stopped), until the next detection starts. The text is
// also the label's accessible description, so a screen reader reads it.
//
// A LongOperation drives it when its polling names it (Polling::progress).
class OperationProgress : public QWidget {
    Q_OBJECT
public:
    // name: what the line belongs to, for screen readers ("White Pixel").
    explicit OperationProgress(QWidget* parent, const QString& name = QString());

    QString text() const;
    QPushButton* stopButton() const { return m_stop; }

    // Called by the operation that polls: before each pause, and once at
    // its end. An operation that runs inside another (the user started a
    // second detection between two polls) has the line until it ends.
    void running(LongOperation* operation, int polls, int maxPolls);
    void ended(LongOperation::Outcome outcome, int polls, int maxPolls);

private:
    QLabel* m_text;
    QPushButton* m_stop;
    // The operation the Stop button ends.
    LongOperation* m_operation = nullptr;
};
