#pragma once

#include "LateProgressView.h"

#include <QString>

#include <functional>
#include <memory>

class QProgressDialog;

// What the user sees while a control panel reads the camera's values.
class PanelLoadProgressView {
public:
    virtual ~PanelLoadProgressView() = default;

    // The page about to be read (number counts from 1).
    virtual void showPage(const QString& title, int number, int count) = 0;
};

using PanelLoadProgressViewFactory = std::function<std::unique_ptr<PanelLoadProgressView>()>;

// The observer handed to a control panel while its pages are built. A panel
// ready within half a second on the connection's clock shows nothing; after
// that a view names each page as its reading begins, or, for a page that is
// still being read when the half second is up (a slow camera), at its next
// line. Reading cannot be cancelled, so the order on the wire is the same
// with or without it; only repaints run, clicks and keys wait until the
// panel is ready.
class PanelLoadProgress {
public:
    static constexpr qint64 kShowAfterMs = LateProgressView<PanelLoadProgressView>::kShowAfterMs;
    // A view just put up is painted once the window system has shown it:
    // the window gets one more chance to repaint this long afterwards.
    static constexpr qint64 kFirstPaintAfterMs = 100;

    PanelLoadProgress(Clock& clock, PanelLoadProgressViewFactory createView);

    void operator()(const QString& title, int number, int count);

private:
    Clock& m_clock;
    LateProgressView<PanelLoadProgressView> m_view;
    int m_shownNumber = 0;
    qint64 m_shownAtMs = 0;
    bool m_firstPaintPending = false;
};

// The progress dialog: "Reading Gain, 2 of 11" over a bar of the pages,
// without a Cancel button. Application-modal; it never runs a loop of its own.
class PanelLoadProgressDialog : public PanelLoadProgressView {
public:
    PanelLoadProgressDialog();
    ~PanelLoadProgressDialog() override;

    void showPage(const QString& title, int number, int count) override;

    static std::unique_ptr<PanelLoadProgressView> create();

private:
    std::unique_ptr<QProgressDialog> m_dialog;
};
