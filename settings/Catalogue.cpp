#include "Catalogue.h"

#include "Connection.h"

#include <QSet>

#include <algorithm>

Catalogue::Catalogue(Connection& connection, CatalogueContext context, QString family,
                     const std::vector<PageFactory>& pages)
    : m_connection(connection), m_context(context), m_family(std::move(family))
{
    for (const PageFactory& create : pages)
        m_pages.push_back(create(connection, m_context));
}

Catalogue::~Catalogue() = default;

PageSettings* Catalogue::page(const QString& title) const
{
    for (const auto& page : m_pages) {
        if (page->title() == title)
            return page.get();
    }
    return nullptr;
}

void Catalogue::load()
{
    // One load: when the camera turns out to be silent, the rest fails at
    // once instead of a time-out per read.
    Connection::LoadScope scope(m_connection);
    for (const auto& page : m_pages) {
        if (page->loadsWhenCreated())
            page->loadInFixedOrder();
    }
    for (const auto& page : m_pages) {
        if (page->loadsWhenCreated())
            page->loadAfterFixedOrder();
    }
}

void Catalogue::loadAll()
{
    Connection::LoadScope scope(m_connection);
    for (const auto& page : m_pages)
        page->load();
}

QList<SettingLine> Catalogue::settingLines() const
{
    QList<SettingLine> lines;
    QSet<QByteArray> keys;
    for (const auto& page : m_pages) {
        QList<Setting*> settings = page->settingsInReadOrder();
        std::stable_partition(settings.begin(), settings.end(), [](const Setting* s) { return s->isAppliedFirst(); });
        for (const Setting* setting : settings) {
            const std::optional<QByteArray> line = setting->fileLine();
            if (!line || keys.contains(setting->key()))
                continue;
            keys.insert(setting->key());
            lines.append({setting->key(), *line});
        }
    }
    return lines;
}

Setting* Catalogue::find(const QByteArray& key) const
{
    // Several pages may show one camera setting; the page a file keeps it
    // from comes first, then any page.
    Setting* shown = nullptr;
    for (const auto& page : m_pages) {
        Setting* setting = page->find(key);
        if (setting && setting->isSaved())
            return setting;
        if (!shown)
            shown = setting;
    }
    return shown;
}

QByteArray keyOfLine(const Catalogue& catalogue, const QByteArray& line)
{
    // The word and an index when the second token is one ("STROBE-TIME 4"),
    // else the word alone.
    const QByteArrayList tokens = line.simplified().split(' ');
    if (tokens.size() >= 2) {
        const QByteArray indexed = tokens.at(0) + ' ' + tokens.at(1);
        if (catalogue.find(indexed))
            return indexed;
    }
    return tokens.value(0);
}

double Catalogue::timeoutFor(const QByteArray& line) const
{
    const QByteArray key = keyOfLine(*this, line);
    if (const Setting* setting = find(key))
        return setting->sendMode().awaitsAnswer() ? setting->sendMode().timeoutSeconds() : 1.0;
    const QByteArray word = line.simplified().split(' ').value(0);
    for (const auto& page : m_pages) {
        for (const auto& command : page->commands()) {
            if (command->word.simplified() == word)
                return command->mode.awaitsAnswer() ? command->mode.timeoutSeconds() : 1.0;
        }
    }
    return 1.0;
}
