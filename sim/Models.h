#pragma once

#include "CommandDefinition.h"

#include <QString>
#include <QStringList>

namespace sim {

enum class Family { Brevo, Tovane, None };

// What sets one simulated model apart; ranges and defaults live in the
// family's command table.
struct ModelInfo {
    QString name;
    unsigned bit = kGeneric;
    Family family = Family::None;
    QByteArray serial;
    int sensorTaps = 1;
};

// The models the simulator offers, in the order they are listed.
const QList<ModelInfo>& knownModels();

// The model of that name; any other name gives a camera of no family that
// answers with that name (useful to try names that match no model).
ModelInfo modelInfo(const QString& name);
bool isKnownModel(const QString& name);

const CommandTable& commandsOf(Family family);

} // namespace sim
