#pragma once

// A tab of a control panel. A page is built in its constructor: it creates
// its controls, declares its bindings (bind()) and its load routine (load()),
// and, when it polls, its timer (pollWhileShown()). Then initialise() runs
// OnInitDialog(), which by default runs LoadFromCamera(), which by default
// runs the declared load routine. The panel gets pages through PageEntry,
// whose factory constructs and initialises them, so a page it receives is
// already filled from the camera and the panel calls nothing else on it.
//
// Enter and Escape never leave a page: Enter in a bound edit sends that
// edit's value, Enter elsewhere and Escape do nothing, and neither reaches a
// default or cancel button of the window around it.

#include "Bindings.h"
#include "LoadPlan.h"
#include "Polling.h"

#include <QString>
#include <QWidget>

#include <functional>

class Connection;
class QPushButton;

// What a panel hands each of its pages: the main window's connection (always
// the port open now) and, for the Brevo General and Gain pages, the sensor
// tap count.
struct PageContext {
    Connection& connection;
    int sensorTaps = 0;
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

    // The page's periodic poll, or null when it has none.
    PollingTimer* polling() const { return m_polling; }

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
