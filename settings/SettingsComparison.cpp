#include "SettingsComparison.h"

#include "Catalogue.h"
#include "Setting.h"

namespace {

// What follows the key in a line; the whole line when it does not begin
// with the key (a line a setting composes in a form of its own).
QByteArray valueAfterKey(const QByteArray& key, const QByteArray& line)
{
    const QByteArray simple = line.simplified();
    if (simple == key)
        return {};
    if (simple.startsWith(key + ' '))
        return simple.mid(key.size() + 1);
    return simple;
}

} // namespace

QList<SettingDifference> compareSettings(const Catalogue& catalogue, const QList<SettingsFileLine>& lines)
{
    QList<SettingDifference> differences;
    for (const SettingsFileLine& line : lines) {
        const QByteArray key = keyOfLine(catalogue, line.text);
        Setting* setting = catalogue.find(key);
        SettingDifference difference;
        difference.fileLine = line;
        if (!setting || setting->isReadOnly()) {
            difference.kind = SettingDifference::Kind::Foreign;
            differences.append(difference);
            continue;
        }
        difference.setting = setting;
        if (const auto* page = qobject_cast<const PageSettings*>(setting->parent()))
            difference.page = page->title();
        difference.fileValue = valueAfterKey(setting->key(), line.text);
        // A setting a file leaves out (the serial speed) still has the line
        // a control would send for it.
        const std::optional<QByteArray> cameraLine =
            setting->isKnown() ? setting->fileLine().value_or(setting->lineFor(setting->value())) : std::optional<QByteArray>();
        if (!cameraLine) {
            difference.kind = SettingDifference::Kind::NotReported;
            differences.append(difference);
            continue;
        }
        if (cameraLine->simplified() == line.text.simplified())
            continue;
        difference.kind = SettingDifference::Kind::Changed;
        difference.cameraValue = valueAfterKey(setting->key(), *cameraLine);
        differences.append(difference);
    }
    return differences;
}

const char* differenceKindName(SettingDifference::Kind kind)
{
    switch (kind) {
    case SettingDifference::Kind::Changed:
        return "changed";
    case SettingDifference::Kind::NotReported:
        return "not reported";
    case SettingDifference::Kind::Foreign:
        return "no setting";
    }
    return "";
}
