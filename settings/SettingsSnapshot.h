#pragma once

// The camera's settings as a file of settings keeps them, read afresh: the
// one way a file is composed, by the panel's "Save Settings…" and by
// pk70ctl --save alike, so both write the same lines in the same order.

#include <QByteArray>
#include <QByteArrayList>
#include <QDateTime>
#include <QString>

#include <functional>

class Catalogue;

struct SettingsSnapshot {
    // The setting lines, in the catalogue's file order; empty when the camera
    // gave no value at all.
    QByteArrayList lines;
    QByteArray version;
    // The reading was ended by the user before it was complete.
    bool cancelled = false;
};

// Reads every page of the catalogue again (reload, false when the user ended
// it; by default the catalogue's own loadAll), so the lines hold what the
// camera holds now, then asks the camera for its version.
SettingsSnapshot readSettingsSnapshot(Catalogue& catalogue, const std::function<bool()>& reload = {});

// The whole file: the header (model, the camera's version, the date with its
// offset from UTC, the family) and the lines.
QByteArray settingsFileText(const SettingsSnapshot& snapshot, const QString& model, const QString& family,
                            const QDateTime& at);
