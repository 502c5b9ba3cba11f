#pragma once

// A tab of a control panel, and the mechanics every page shares.
//
// A page does its work in its constructor: it creates its controls and lays
// them out, declares its bindings and its load routine, and, if it polls,
// its poll. Everything else is the framework's:
//
//   CTovaneExamplePage::CTovaneExamplePage(PageContext context, QWidget* parent)
//       : Page(context, parent)
//   {
//       m_offsetX = makeEdit(this);            // Controls.h
//       ...layout, with makeRefreshButton() where the page has "Refresh"...
//
//       // Commands (Bindings.h): each sent only when the user acts.
//       bind().edit(m_offsetX, "OffsetX", cmd::OFFSETX);
//       bind().slider(m_gain, "Gain", cmd::GAIN_FINE).edit(m_step).readout(m_db, scaledBy(0.1, "%3.2lf"));
//       bind().check(m_hbin, cmd::HBIN).values(1, 2);
//       bind().action(m_fire, [this] { fireSoftTrigger(); });   // the page's own handler
//
//       // The load routine (LoadPlan.h), in the camera's fixed order.
//       load().text(cmd::VENDOR, m_vendor, "Vendor=")
//             .number(cmd::OFFSETX, m_offsetX)
//             .optional(cmd::HBIN, m_hbin, [this](int v) { showCheck(m_hbin, v - 1); });
//
//       // Periodic re-reading while the tab is shown (every 2000 ms).
//       pollWhileShown([this] { ... });
//   }
//
// Life cycle: the panel receives pages from PageEntry factories made with
// pageEntry<PageClass>(title); the factory constructs the page and calls
// initialise(), which runs OnInitDialog(). By default OnInitDialog() runs
// LoadFromCamera(), and LoadFromCamera() runs the declared load routine, so
// the page the panel gets is already filled from the camera and the panel
// calls nothing else on it. A page that must not read at creation, or must
// do something after the load (hiding controls, reading inputs), overrides
// OnInitDialog(); a page whose load is not a plain sequence overrides
// LoadFromCamera().
//
// Keys: Enter in a bound edit sends that edit's value; Enter anywhere else
// on the page and Escape do nothing, and neither ever reaches a default or
// cancel button of the window around the page.
//
// Polling: the tick is skipped while the connection is busy (an exchange or
// a long operation is running), so it never cuts into another exchange. The
// page may start and stop the poll itself through polling().
//
// Long operations (detections that poll the camera with pauses) use
// LongOperation (LongOperation.h): pauses on the connection's clock with
// window events running meanwhile, a limit, and an end when the page's panel
// is closed, the page destroyed or the application closed (leaving its tab
// does not end it). A timer of the page's own (such as a demonstration cycle)
// is a PageTimer (Polling.h), which stops with its page or its panel and dies
// with the page.
//
// Message boxes go through showMessage() (Messages.h).
//
// Settings files: settingLines() gives the page's part of a file of camera
// settings, made from its bindings (Bindings.h) and what its last load read:
// a setting is kept only when that load read its word and the camera
// answered with a value.

#include "Bindings.h"
#include "Connection.h"
#include "LoadPlan.h"
#include "Polling.h"

#include <QList>
#include <QString>
#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

class QPushButton;

// What a panel hands each of its pages: the main window's connection (always
// the port open now) and, for the Brevo General and Gain pages, the sensor
// tap count.
struct PageContext {
    Connection& connection;
    int sensorTaps = 0;
};

// One setting as a file of settings keeps it: its key (word and index, as
// Binding::settingKey) and the line to send.
struct SettingLine {
    QByteArray key;
    QByteArray line;

    bool operator==(const SettingLine& other) const = default;
};

class Page : public QWidget {
    Q_OBJECT
public:
    explicit Page(PageContext context, QWidget* parent = nullptr);
    ~Page() override;

    // Runs once, right after construction (the factories of pageEntry do it).
    void initialise();

    // Reads every value the page shows, in the page's fixed order. "Refresh"
    // runs it again. The reads and whether the camera answered them are kept
    // for settingLines(); a page that overrides it keeps none.
    virtual void LoadFromCamera();

    // The page's periodic poll, or null when it has none.
    PollingTimer* polling() const { return m_polling; }

    // The settings the page shows, each once, as the page would send them:
    // those whose word its last load read and the camera answered, shown by
    // a setting's control that holds a value. Settings declared appliedFirst
    // come first; the others follow in the order the load read them.
    QList<SettingLine> settingLines() const;
    // The time-out the page waits for the answer to the command of that key
    // (a setting's or a button's); none when the page sends no such command.
    std::optional<double> timeoutFor(const QByteArray& key) const;

protected:
    // The page's initialisation: fixed ranges and lists are set by the
    // constructor; the default then loads from the camera. Pages that hide
    // controls after loading, or must not load, override it.
    virtual void OnInitDialog();

    Connection& connection() const { return m_context.connection; }
    int sensorTaps() const { return m_context.sensorTaps; }

    Bindings& bind() { return m_bindings; }
    LoadPlan& load() { return m_load; }

    // Declares the periodic poll: onTick runs every two seconds while the
    // page is shown. The page may also start and stop it itself.
    void pollWhileShown(std::function<void()> onTick);

    // A "Refresh" button that runs LoadFromCamera.
    QPushButton* makeRefreshButton();

    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    PageContext m_context;
    Bindings m_bindings;
    LoadPlan m_load;
    PollingTimer* m_polling = nullptr;
    std::vector<Connection::Read> m_lastLoad;
};

// One tab of a panel: its title and how to build its page.
struct PageEntry {
    QString title;
    std::function<Page*(PageContext context, QWidget* parent)> create;
};

// The entry of a page class: its factory constructs the page and runs its
// initialisation.
template <class PageClass>
PageEntry pageEntry(const QString& title)
{
    return {title, [](PageContext context, QWidget* parent) -> Page* {
                auto* page = new PageClass(context, parent);
                page->initialise();
                return page;
            }};
}
