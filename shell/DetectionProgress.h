#pragma once

#include "LateProgressView.h"

#include <QtGlobal>

#include <functional>
#include <memory>

class QProgressDialog;

// What the user sees while the baud rate is being searched for.
class DetectionProgressView {
public:
    virtual ~DetectionProgressView() = default;

    // The candidate being tried, which has not answered at once (pass counts from 1).
    virtual void showAttempt(int pass, qint32 baudRate) = 0;
    virtual bool cancelRequested() = 0;
};

using DetectionProgressViewFactory = std::function<std::unique_ptr<DetectionProgressView>()>;

// The observer handed to DetectBaudRate. A search that finds the camera
// within half a second on the connection's clock stays invisible; after that
// a progress view appears, for a candidate that is keeping the search going
// (one that answers at once is never shown, so the view does not flash up
// just as the camera is found). At each silent candidate the windows repaint,
// and once the view is up its Cancel button works; cancelling ends detection
// as a failure.
class DetectionProgress {
public:
    static constexpr qint64 kShowAfterMs = LateProgressView<DetectionProgressView>::kShowAfterMs;

    DetectionProgress(Clock& clock, DetectionProgressViewFactory createView);

    bool operator()(int pass, qint32 baudRate);

private:
    LateProgressView<DetectionProgressView> m_view;
};

// The progress dialog: the rate being tried, the pass, a bar over all
// attempts and Cancel. Application-modal, so no other window takes input while
// it is up; it never runs a loop of its own.
class DetectionProgressDialog : public DetectionProgressView {
public:
    DetectionProgressDialog();
    ~DetectionProgressDialog() override;

    void showAttempt(int pass, qint32 baudRate) override;
    bool cancelRequested() override;

    static std::unique_ptr<DetectionProgressView> create();

private:
    std::unique_ptr<QProgressDialog> m_dialog;
};
