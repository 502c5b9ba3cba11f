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
// that a view names each page as its reading begins. Reading cannot be
// cancelled, so the order on the wire is the same with or without it; only
// repaints run between pages, clicks and keys wait until the panel is ready.
class PanelLoadProgress {
public:
    static constexpr qint64 kShowAfterMs = LateProgressView<PanelLoadProgressView>::kShowAfterMs;

    PanelLoadProgress(Clock& clock, PanelLoadProgressViewFactory createView);

    void operator()(const QString& title, int number, int count);

private:
    LateProgressView<PanelLoadProgressView> m_view;
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
