#pragma once

#include "Connection.h"
#include "Page.h"

#include <QList>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class Catalogue;
class Connection;
class QPushButton;
class QTabWidget;
class SettingSearch;
class SettingsTransfer;
class StatusLine;

// Told before each page is built and reads its values, and again before each
// line that page sends meanwhile: the page's tab title, its number (from 1)
// and the number of pages.
using PanelLoadObserver = std::function<void(const QString& title, int number, int count)>;
// The same for a panel reading its pages again; false once the user has
// cancelled.
using PanelReloadObserver = std::function<bool(const QString& title, int number, int count)>;

// How a panel reads its pages when it is made: all of them before its
// constructor returns, or the first page only, the others once the panel is
// shown (loadRemainingPages).
enum class PanelLoad { AllAtOnce, FirstPageFirst };

// A modeless window with one tab per page of a camera family. The panel reads
// each page's settings in tab order (PageEntry::load) and builds a page when
// its tab is first shown, from the settings read; the pages lie on top of
// one another in the tab area, and only the page of the selected tab is shown.
//
// A panel made first page first is usable as soon as its first page is read.
// loadRemainingPages() then reads the others in tab order, the window alive
// meanwhile: a user action on a page already read goes out between two
// exchanges of the load, and the load goes on after it. Until a page is read
// its tab says so and holds no controls. Closing the panel ends the load at
// its next exchange (showing the panel again goes on with it); closing the
// application ends it too. The lines on the wire are the same either way.
//
// A status line at the foot of the window tells the port, its state and the
// last setting the camera refused.
//
// Above the tabs, "Save Settings…" writes the camera's settings to a file,
// "Compare with File…" shows what differs from such a file, and "Apply
// Settings…" sends one to the camera (SettingsTransfer.h).
// Once the camera has accepted a user set's "Load" or "FactoryDefault", it
// holds other settings than the pages read, and every page reads it again.
//
// The window is a plain top-level widget rather than a dialog, so Enter and
// Escape never trigger a default or cancel action: they reach the focused
// control of the page like any other key. Closing only hides the panel; the
// main window destroys it when it closes itself.
class ControlPanel : public QWidget {
    Q_OBJECT
public:
    ~ControlPanel() override;

    int pageCount() const;
    // The page of a tab, built now if its tab has not been shown yet; null
    // while the page has not been read, or when it could not be built.
    Page* page(int tab);
    QTabWidget* tabs() const { return m_tabs; }
    // Port, rate, connection state and the last refused setting.
    StatusLine* statusLine() const { return m_statusLine; }

    QString model() const { return m_model; }
    int sensorTaps() const { return m_sensorTaps; }
    // "Brevo" or "Tovane".
    QString family() const { return m_family; }

    // Every page reads the camera again (LoadFromCamera), as one load: for a
    // file of settings, after one was applied, after a command that replaced
    // the camera's settings. False when the user cancelled it: the pages
    // after the one being read keep what they showed.
    bool reloadAllPages();
    // What watches each such reading (a progress view with Cancel): a new
    // observer for each; none by default.
    void setReloadProgress(std::function<PanelReloadObserver()> createObserver)
    {
        m_createReloadObserver = std::move(createObserver);
    }
    // Builds and reads the pages not read yet, then what every page reads
    // after its fixed order (see above). Returns at once when there are none.
    void loadRemainingPages();
    // Whether some page has not been read yet.
    bool pagesStillToRead() const;
    bool loadingRemainingPages() const { return m_loadingRemaining; }
    // What a tab is named while its page is being read: "Gain (reading…)".
    static QString readingTitle(const QString& title);
    // The camera's settings, page by page: what the panel shows, as data.
    Catalogue& catalogue() const { return *m_catalogue; }
    SendPath& sendPath() const { return m_sendPath; }

    SettingsTransfer& settingsTransfer() const { return *m_settingsTransfer; }
    QPushButton* saveSettingsButton() const { return m_saveSettings; }
    QPushButton* applySettingsButton() const { return m_applySettings; }
    // The search over every page's settings, above the tabs.
    SettingSearch* search() const { return m_search; }
    QPushButton* compareButton() const { return m_compare; }

protected:
    // Sizes are in dialog units. Each page gets the catalogue's page of its
    // title.
    ControlPanel(SendPath& sendPath, const QString& model, int sensorTaps, std::unique_ptr<Catalogue> catalogue,
                 const QList<PageEntry>& pages, QSize windowSizeDu, const PanelLoadObserver& observeLoad,
                 QWidget* parent, PanelLoad load = PanelLoad::AllAtOnce);

    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void enableFileButtons(bool enable);
    // Reads the settings of a tab's page in its fixed order; what the page
    // reads after that is held back for the end. The page itself is built
    // when its tab is shown. goOn runs between two reads and ends the load
    // when it says no.
    void readPage(int index, const PanelLoadObserver& observeLoad, const std::function<bool()>& goOn = {});
    // The page of a read tab, built from the settings read; null before.
    Page* buildPage(int index);
    void showTabBeingRead(int index, bool beingRead);
    // Reads the pages not read yet, reads again the fixed order of those
    // whose load was ended early, and then what every page reads after its
    // fixed order. False when goOn ended it.
    bool readPagesStillToRead(const std::function<bool()>& goOn, const PanelLoadObserver& observeLoad);
    PageSettings& settingsFor(const QString& title);

    SendPath& m_sendPath;
    Connection& m_connection;
    std::unique_ptr<Catalogue> m_catalogue;
    // Settings for pages the catalogue does not have (panels built for tests).
    std::vector<std::unique_ptr<PageSettings>> m_spareSettings;
    QString m_model;
    QString m_family;
    int m_sensorTaps;
    QTabWidget* m_tabs;
    StatusLine* m_statusLine = nullptr;
    QPushButton* m_saveSettings = nullptr;
    QPushButton* m_applySettings = nullptr;
    SettingSearch* m_search = nullptr;
    QPushButton* m_compare = nullptr;
    QList<Page*> m_pages;
    std::unique_ptr<SettingsTransfer> m_settingsTransfer;
    std::function<PanelReloadObserver()> m_createReloadObserver;
    QList<PageEntry> m_entries;
    // Pages read so far (in tab order); the settings of pages whose load was
    // ended early, and of those whose later reads are still held back.
    int m_pagesRead = 0;
    QList<PageSettings*> m_cutShort;
    QList<PageSettings*> m_lateReadsHeld;
    bool m_loadingRemaining = false;
    // The camera found silent in the first page's load stays so for the rest.
    std::optional<Connection::LoadScope> m_load;
};
