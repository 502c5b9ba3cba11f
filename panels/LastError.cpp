#include "LastError.h"

#include "Display.h"
#include "Setting.h"

#include <QWidget>

void explainRefusals(const Setting& setting, QWidget* label)
{
    QObject::connect(&setting, &Setting::sendRefused, label, [label](const QString& reason) { showText(label, reason); });
    QObject::connect(&setting, &Setting::sendSettled, label, [label] { showText(label, QString()); });
}
