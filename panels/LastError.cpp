#include "LastError.h"

#include "Display.h"
#include "SendPath.h"
#include "Setting.h"

#include <QWidget>

void explainRefusals(SendPath& path, const Setting& setting, QWidget* label)
{
    const QByteArray prefix = setting.lineFor(QByteArray());
    QObject::connect(&path, &SendPath::refused, label, [prefix, label](const QByteArray& line, const QString& reason) {
        if (line.startsWith(prefix))
            showText(label, reason);
    });
    const auto clear = [prefix, label](const QByteArray& line) {
        if (line.startsWith(prefix))
            showText(label, QString());
    };
    QObject::connect(&path, &SendPath::accepted, label, clear);
    QObject::connect(&path, &SendPath::unanswered, label, clear);
}
