#pragma once

#include "Page.h"

#include <QList>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

class Connection;
class QPushButton;
class QTabWidget;
class SettingsTransfer;
class StatusLine;

// Told before each page is built and reads its values, and again before each
// line that page sends meanwhile: the page's tab title, its number (from 1)
// and the number of pages.
using PanelLoadObserver = std::function<void(const QString& title, int number, int count)>;

// A modeless window with one tab per page of a camera family. All pages are
// built at once (each runs its initial load while it is built), lie on top of
// one another in the tab area, and only the page of the selected tab is shown.
//
// A status line at the foot of the window tells the port, its state and the
// last setting the camera refused.
//
// Above the tabs, "Save Settings…" writes the camera's settings to a file
// and "Apply Settings…" sends such a file to the camera (SettingsTransfer.h).
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
    // The page of a tab; null when that page could not be built.
    Page* page(int tab) const;
    QTabWidget* tabs() const { return m_tabs; }
    // Port, rate, connection state and the last refused setting.
    StatusLine* statusLine() const { return m_statusLine; }

    QString model() const { return m_model; }
    int sensorTaps() const { return m_sensorTaps; }
    // "Brevo" or "Tovane".
    QString family() const { return m_family; }

    // Every page reads the camera again (LoadFromCamera), as one load.
    void reloadAllPages();
    // The settings of all pages, page by page in tab order, each once (the
    // first page that shows it keeps it; Page::settingLines).
    QList<SettingLine> settingLines() const;
    // How long the page that sends this line's command waits for its answer;
    // 1.0 s for a line no page sends.
    double timeoutFor(const QByteArray& line) const;

    SettingsTransfer& settingsTransfer() const { return *m_settingsTransfer; }
    QPushButton* saveSettingsButton() const { return m_saveSettings; }
    QPushButton* applySettingsButton() const { return m_applySettings; }

protected:
    // Sizes are in dialog units: the window and the margin around the tabs.
    ControlPanel(Connection& connection, const QString& model, const QString& family, int sensorTaps,
                 const QList<PageEntry>& pages, QSize windowSizeDu, const PanelLoadObserver& observeLoad,
                 QWidget* parent);

    void keyPressEvent(QKeyEvent* event) override;

private:
    Connection& m_connection;
    QString m_model;
    QString m_family;
    int m_sensorTaps;
    QTabWidget* m_tabs;
    StatusLine* m_statusLine = nullptr;
    QPushButton* m_saveSettings = nullptr;
    QPushButton* m_applySettings = nullptr;
    QList<Page*> m_pages;
    std::unique_ptr<SettingsTransfer> m_settingsTransfer;
};
