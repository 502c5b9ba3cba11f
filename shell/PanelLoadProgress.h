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
    virtual bool cancelRequested() = 0;
};

using PanelLoadProgressViewFactory = std::function<std::unique_ptr<PanelLoadProgressView>()>;

// The observer handed to a control panel while its pages are built. A panel
// ready within half a second on the connection's clock shows nothing; after
// that a view names each page as its reading begins, or, for a page that is
// still being read when the half second is up (a slow camera), at its next
// line. The view is looked at when it names a page and at most every
// kLookEveryMs besides, before a line goes out, so the order on the wire is
// the same with or without it. Until the view is up nothing else runs; then
// window events run whenever it is looked at, and as the view is modal, only
// its Cancel takes the user's input. Once the user has cancelled, the
// observer says so (false) before every further line.
class PanelLoadProgress {
public:
    static constexpr qint64 kShowAfterMs = LateProgressView<PanelLoadProgressView>::kShowAfterMs;
    // A view just put up is painted once the window system has shown it:
    // the window gets one more chance to repaint this long afterwards.
    static constexpr qint64 kFirstPaintAfterMs = 100;
    static constexpr qint64 kLookEveryMs = 250;

    PanelLoadProgress(Clock& clock, PanelLoadProgressViewFactory createView);

    // False once the user has cancelled the load.
    bool operator()(const QString& title, int number, int count);
    bool cancelled() const { return m_cancelled; }

private:
    Clock& m_clock;
    LateProgressView<PanelLoadProgressView> m_view;
    int m_shownNumber = 0;
    qint64 m_shownAtMs = 0;
    qint64 m_lookedAtMs = 0;
    bool m_firstPaintPending = false;
    bool m_cancelled = false;
};

// The progress dialog: "Reading Gain, 2 of 11" over a bar of the pages, and
// Cancel. Application-modal, so only its Cancel takes input while it is up;
// it never runs a loop of its own. Its title says why the pages are read.
class PanelLoadProgressDialog : public PanelLoadProgressView {
public:
    explicit PanelLoadProgressDialog(const QString& windowTitle = QStringLiteral("Opening the Control Panel"));
    ~PanelLoadProgressDialog() override;

    void showPage(const QString& title, int number, int count) override;
    bool cancelRequested() override;

    static std::unique_ptr<PanelLoadProgressView> create();
    // For an open panel reading its pages again.
    static std::unique_ptr<PanelLoadProgressView> createForReload();

private:
    std::unique_ptr<QProgressDialog> m_dialog;
};
