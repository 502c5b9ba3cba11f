#pragma once

// Finding a setting on any page of a panel: a field above the tabs (Ctrl+F)
// lists, as the user types, the settings of every page whose caption,
// command word or page title holds what was typed, with the camera's last
// value. Enter or a double click on a row goes to the setting: its tab is
// selected, its control takes the focus and is marked for a moment. Escape
// clears the search and gives the focus back to where it was.
//
// While the list is shown it takes the place of the tabs. The search reads
// the pages' settings and bindings only: nothing goes to the camera.

#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>

class Page;
class PageSettings;
class QLabel;
class QLineEdit;
class QTabWidget;
class QTreeWidget;
class Setting;

// A setting found, on the page of a tab.
struct SettingHit {
    int tab = -1;
    Setting* setting = nullptr;
};

// How well a query matches the fields of a setting (its page's title, its
// caption, its command word): 0 when some word of the query is in none of
// them; more for a whole word ("lower" in "GainAuto Lower", "AGC-LOWER")
// than for the start of one, more for the start than for any other part,
// and most for a field that is the query itself.
int searchScore(const QString& query, const QStringList& fields);

// Where the search finds the settings of a tab's page (null while the page
// has not been read) and the page that shows them (built when asked for).
struct SearchedPages {
    std::function<PageSettings*(int tab)> settings;
    std::function<Page*(int tab)> page;
};

// The settings of every page of the tabs that match the query, best first;
// among equals in tab order, and on a page in the order it declares them.
QList<SettingHit> findSettings(const QTabWidget& tabs, const SearchedPages& pages, const QString& query);

// The control of the page that shows the setting and can take the focus:
// the first one bound to it that is shown and enabled (of radio buttons,
// the checked one); null when the page shows the setting nowhere it could.
QWidget* controlOf(const Page& page, const Setting& setting);

class SettingSearch : public QWidget {
    Q_OBJECT
public:
    // Searches the pages of tabs, which it hides while its list is shown.
    SettingSearch(QTabWidget* tabs, SearchedPages pages, QWidget* parent = nullptr);

    QLineEdit* field() const { return m_field; }
    QTreeWidget* results() const { return m_results; }
    const QList<SettingHit>& hits() const { return m_hits; }

    // Ctrl+F: the field takes the focus, its text selected, and lists again.
    void start();
    // Goes to the setting of the list's current row.
    void goToCurrent();
    // Escape: clears the search, shows the tabs, and gives the focus back.
    void cancel();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void listMatches();
    void showResults(bool shown);
    void goTo(const SettingHit& hit);

    QTabWidget* m_tabs;
    SearchedPages m_pages;
    QLineEdit* m_field;
    QLabel* m_summary;
    QTreeWidget* m_results;
    QList<SettingHit> m_hits;
    // The widget that had the focus before the field took it.
    QPointer<QWidget> m_returnTo;
    QPointer<QWidget> m_mark;
};
