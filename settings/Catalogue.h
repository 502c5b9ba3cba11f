#pragma once

// Every setting of a camera family, page by page in tab order: what the
// control panel shows, what a file of settings holds, what compare and
// search look through. It needs no window: a program without one reads and
// saves a camera's settings with the same catalogue as the panel.
//
//   std::unique_ptr<Catalogue> settings = tovaneCatalogue(connection);
//   settings->load();                       // every page's fixed order, then what they read after it
//   for (const SettingLine& line : settings->settingLines()) ...

#include "PageSettings.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class Connection;

// What a family's pages need to know of the camera before they read it.
struct CatalogueContext {
    // Brevo: the sensor's tap count (SENSOR-TAP), which decides the taps the
    // gain page reads.
    int sensorTaps = 0;
};

// One setting as a file of settings keeps it: its key (word and index) and
// the line that sets the camera's value.
struct SettingLine {
    QByteArray key;
    QByteArray line;

    bool operator==(const SettingLine& other) const = default;
};

class Catalogue {
public:
    using PageFactory = std::function<std::unique_ptr<PageSettings>(Connection& connection, const CatalogueContext& context)>;

    Catalogue(Connection& connection, CatalogueContext context, QString family,
              const std::vector<PageFactory>& pages);
    ~Catalogue();

    Connection& connection() const { return m_connection; }
    const CatalogueContext& context() const { return m_context; }
    // "Brevo" or "Tovane".
    const QString& family() const { return m_family; }

    int pageCount() const { return int(m_pages.size()); }
    PageSettings& page(int index) const { return *m_pages.at(size_t(index)); }
    // The page of that title, null when there is none.
    PageSettings* page(const QString& title) const;

    // Every page that reads when it is created: each page's fixed order, in
    // tab order, then what each reads after it.
    void load();
    // Every page, those that wait for "Refresh" included, as one load.
    void loadAll();

    // The camera's settings as a file keeps them: page by page in tab order,
    // each setting once (the first page that has it keeps it); on a page
    // those applied first come first, the others follow in the order the
    // page read them. Only settings whose value the camera gave or accepted.
    QList<SettingLine> settingLines() const;
    // The setting of that key: on the first page whose file line keeps it,
    // else on the first page that has it; null when none.
    Setting* find(const QByteArray& key) const;
    // How long a page waits for the camera's answer to a line of that key;
    // 1.0 s for a line that is no setting.
    double timeoutFor(const QByteArray& line) const;

private:
    Connection& m_connection;
    CatalogueContext m_context;
    QString m_family;
    std::vector<std::unique_ptr<PageSettings>> m_pages;
};

// The entry of a page's settings class in a family's catalogue: the class
// is built from the connection, the page's title and the context.
template <class PageSettingsClass>
Catalogue::PageFactory pageSettings(const QString& title)
{
    return [title](Connection& connection, const CatalogueContext& context) -> std::unique_ptr<PageSettings> {
        return std::make_unique<PageSettingsClass>(connection, title, context);
    };
}

// The key of a command line: its word and, for indexed words, the index
// ("STROBE-TIME 4 100" gives "STROBE-TIME 4" when the catalogue has that key).
QByteArray keyOfLine(const Catalogue& catalogue, const QByteArray& line);
