#include "SettingsSnapshot.h"

#include "Catalogue.h"
#include "CommandWords.h"
#include "Link.h"
#include "SettingsFile.h"

SettingsSnapshot readSettingsSnapshot(Catalogue& catalogue, const std::function<bool()>& reload)
{
    SettingsSnapshot snapshot;
    if (reload) {
        if (!reload()) {
            snapshot.cancelled = true;
            return snapshot;
        }
    } else {
        catalogue.loadAll();
    }
    for (const SettingLine& setting : catalogue.settingLines())
        snapshot.lines << setting.line;
    if (!snapshot.lines.isEmpty())
        snapshot.version = QueryText(catalogue.connection(), cmd::VERSION);
    return snapshot;
}

QByteArray settingsFileText(const SettingsSnapshot& snapshot, const QString& model, const QString& family,
                            const QDateTime& at)
{
    // The offset from UTC goes into the date, so that files from different
    // places compare.
    const QDateTime date = at.toOffsetFromUtc(at.offsetFromUtc());
    return composeSettingsFile({model, QString::fromLatin1(snapshot.version), date, family}, snapshot.lines);
}
