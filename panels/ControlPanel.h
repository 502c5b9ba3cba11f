#pragma once

#include "Page.h"

#include <QList>
#include <QString>
#include <QWidget>

#include <functional>

class Connection;
class QTabWidget;
class StatusLine;

// Told before each page is built and reads its values: the page's tab title,
// its number (from 1) and the number of pages.
using PanelLoadObserver = std::function<void(const QString& title, int number, int count)>;

// A modeless window with one tab per page of a camera family. All pages are
// built at once (each runs its initial load while it is built), lie on top of
// one another in the tab area, and only the page of the selected tab is shown.
//
// A status line at the foot of the window tells the port, its state and the
// last setting the camera refused.
//
// The window is a plain top-level widget rather than a dialog, so Enter and
// Escape never trigger a default or cancel action: they reach the focused
// control of the page like any other key. Closing only hides the panel; the
// main window destroys it when it closes itself.
class ControlPanel : public QWidget {
    Q_OBJECT
public:
    int pageCount() const;
    // The page of a tab; null when that page could not be built.
    Page* page(int tab) const;
    QTabWidget* tabs() const { return m_tabs; }
    // Port, rate, connection state and the last refused setting.
    StatusLine* statusLine() const { return m_statusLine; }

    QString model() const { return m_model; }
    int sensorTaps() const { return m_sensorTaps; }

protected:
    // Sizes are in dialog units: the window and the margin around the tabs.
    ControlPanel(Connection& connection, const QString& model, int sensorTaps, const QList<PageEntry>& pages,
                 QSize windowSizeDu, const PanelLoadObserver& observeLoad, QWidget* parent);

    void keyPressEvent(QKeyEvent* event) override;

private:
    QString m_model;
    int m_sensorTaps;
    QTabWidget* m_tabs;
    StatusLine* m_statusLine = nullptr;
    QList<Page*> m_pages;
};
