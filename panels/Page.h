#pragma once

// A tab of a control panel, and the mechanics every page shares.
//
// A page shows the settings of its part of the camera (PageSettings.h, in
// settings/): they say what is read, in which order, and how each is sent.
// The page builds its controls in its constructor, lays them out and binds
// them to those settings; everything else is the framework's:
//
//   CTovaneExamplePage::CTovaneExamplePage(PageContext context, QWidget* parent)
//       : Page(context, parent)
//   {
//       auto& s = settingsAs<TovaneExampleSettings>();
//       m_offsetX = makeEdit(this);            // Controls.h
//       ...layout, with makeRefreshButton() where the page has "Refresh"...
//
//       // Controls (Bindings.h): each sends only when the user acts, and
//       // shows its setting whenever the setting changes.
//       bind().edit(m_offsetX, s.offsetX);
//       bind().slider(m_gain, s.gainFine).rangeFromCamera();
//       bind().action(m_fire, [this] { fireSoftTrigger(); });   // the page's own handler
//
//       // Periodic re-reading while the tab is shown (every 2000 ms).
//       pollWhileShown([this] { ... });
//   }
//
// Life cycle: the panel receives pages from PageEntry factories made with
// pageEntry<PageClass>(title). It first reads the page's settings in their
// order (the entry's load, what LoadFromCamera reads); when the page's tab is
// first shown, the factory constructs the page and calls initialise(), which
// runs OnInitDialog(). By default OnInitDialog() runs LoadFromCamera(), which
// then reads nothing: the bindings show the values already read. A page that
// must do something after the load (hiding controls, reading inputs)
// overrides OnInitDialog(); one that reacts to a setting's range or choices
// also takes those the setting holds when the page is built.
//
// Sending: every line a page sends, from a bound control or from a handler
// of its own, goes through the send path (SendPath.h): sendPath().set(setting,
// value) for a setting, sendPath().command(line) for anything else. A refusal
// is then shown the same way everywhere: the setting is read back and the
// status line names the line and the camera's reason.
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
// LongOperation (LongOperation.h). A timer of the page's own (such as a
// demonstration cycle) is a PageTimer (Polling.h).
//
// Message boxes go through showMessage() (Messages.h).

#include "Bindings.h"
#include "Connection.h"
#include "PageSettings.h"
#include "Polling.h"
#include "SendPath.h"

#include <QList>
#include <QString>
#include <QWidget>

#include <functional>

class QPushButton;

// What a panel hands each of its pages: the send path on the main window's
// connection (always the port open now), the page's settings and, for the
// Brevo General and Gain pages, the sensor tap count.
struct PageContext {
    SendPath& sendPath;
    PageSettings& settings;
    int sensorTaps = 0;
    // The panel read the page's settings before it built the page (a page
    // is built when its tab is first shown): the page shows them as read
    // instead of reading them again.
    bool settingsRead = false;
};

class Page : public QWidget {
    Q_OBJECT
public:
    explicit Page(PageContext context, QWidget* parent = nullptr);
    ~Page() override;

    // Runs once, right after construction (the factories of pageEntry do it).
    void initialise();

    // Reads every value the page shows, in the page's fixed order. "Refresh"
    // runs it again.
    virtual void LoadFromCamera();
    // What LoadFromCamera reads, without a page: the panel reads a page's
    // settings so before the page is built (when its tab is first shown).
    static void loadSettings(PageSettings& settings);

    // The page's periodic poll, or null when it has none.
    PollingTimer* polling() const { return m_polling; }

    PageSettings& pageSettings() const { return m_context.settings; }
    // Which control shows which setting.
    const Bindings& bindings() const { return m_bindings; }

protected:
    // The page's initialisation: fixed ranges and lists are set by the
    // constructor; the default then loads from the camera. Pages that hide
    // controls after loading, or must not load, override it.
    virtual void OnInitDialog();

    Connection& connection() const { return m_context.sendPath.connection(); }
    SendPath& sendPath() const { return m_context.sendPath; }
    template <class Settings>
    Settings& settingsAs() const
    {
        return static_cast<Settings&>(m_context.settings);
    }
    int sensorTaps() const { return m_context.sensorTaps; }

    Bindings& bind() { return m_bindings; }

    // Runs react now and whenever the setting changes (a control that a
    // mode enables, a picture that follows a value).
    void whenChanged(Setting& setting, std::function<void()> react);

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
    PollingTimer* m_polling = nullptr;
    // While initialise() builds a page whose settings the panel has read:
    // the first LoadFromCamera shows what is there.
    bool m_showWhatWasRead = false;
};

// One tab of a panel: its title, how to build its page and how its page
// reads its settings (Page::loadSettings; none: the page reads nothing),
// which the panel does before the page is built.
struct PageEntry {
    QString title;
    std::function<Page*(PageContext context, QWidget* parent)> create;
    std::function<void(PageSettings& settings)> load;
};

// The entry of a page class: its factory constructs the page (the context
// holds the page's settings, of the class the page names as Settings) and
// runs its initialisation.
template <class PageClass>
PageEntry pageEntry(const QString& title)
{
    return {title,
            [](PageContext context, QWidget* parent) -> Page* {
                auto* page = new PageClass(context, parent);
                page->initialise();
                return page;
            },
            &Page::loadSettings};
}
