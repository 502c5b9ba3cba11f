#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

class Connection;

// The camera families, each with its own control panel.
enum class CameraFamily { None, Brevo, Tovane };

// Which panel the "&Control" command shows for a model text.
enum class ControlPanelKind { None, Brevo, Tovane };

// Asks the camera for its model name. "MODEL" first; when its answer names no
// model, "VERSION". Each answer is read until its terminal line has arrived or
// for at most one second. Empty text when no model was found.
QString IdentifyModel(Connection& connection);

// The first line of an answer that, trimmed, begins with "PTM" or "PTN"; the
// echo and the "OK" line never qualify. Empty when there is none.
QString modelFromAnswer(const QByteArray& answer);

// The family the model table assigns; no value when no row matches, in which
// case the caller keeps the family it had.
std::optional<CameraFamily> familyForModel(const QString& model);

ControlPanelKind controlPanelForModel(const QString& model);
