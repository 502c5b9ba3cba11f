#pragma once

// What differs between a file of settings and the camera's settings as the
// catalogue last read them. Each command line of the file is matched to the
// setting of its key; a line that is no setting of the family (or one the
// camera only reports, such as its model) is reported as such, never
// guessed at. The panel's "Compare with File…" and pk70ctl --compare both
// list these.

#include "SettingsFile.h"

#include <QByteArray>
#include <QList>
#include <QString>

class Catalogue;
class Setting;

struct SettingDifference {
    enum class Kind {
        Changed,     // the camera holds another value
        NotReported, // the camera gave no value for it (it lacks the setting, or the read failed)
        Foreign,     // the line is no setting of this family
    };
    Kind kind = Kind::Changed;
    SettingsFileLine fileLine;
    // Null for a foreign line.
    Setting* setting = nullptr;
    // The title of the page the setting is on.
    QString page;
    // The values after the setting's key ("GAIN-FINE 55" gives "55"), blanks
    // simplified; the camera's is empty unless the camera gave one.
    QByteArray fileValue;
    QByteArray cameraValue;
};

// The lines that differ, in the order of the file.
QList<SettingDifference> compareSettings(const Catalogue& catalogue, const QList<SettingsFileLine>& lines);

// "Changed", "not reported", "no setting".
const char* differenceKindName(SettingDifference::Kind kind);
