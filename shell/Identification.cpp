#include "Identification.h"

#include "CommandWords.h"
#include "Connection.h"
#include "Link.h"

#include <QStringList>

#include <array>

namespace {

// How long each identification answer may take to complete.
constexpr int kAnswerTimeoutMs = 1000;

struct ModelRow {
    const char* name;
    bool exact; // the whole model text must be equal, not just its beginning
    CameraFamily family;
};

// Tested in this order; the first match wins.
constexpr std::array<ModelRow, 9> kModelTable = {{
    {"PTM-R20", false, CameraFamily::Brevo},
    {"PTM-R22", false, CameraFamily::Brevo},
    {"PTM-R140", false, CameraFamily::Brevo},
    {"PTM-R290", false, CameraFamily::Brevo},
    {"PTM-R560", false, CameraFamily::Brevo},
    {"PTM-T350", false, CameraFamily::Brevo},
    {"PTM-T450", false, CameraFamily::Brevo},
    {"PTM-TW640", true, CameraFamily::Tovane},
    {"PTM-TW640M", true, CameraFamily::Tovane},
}};

QString askForModel(Connection& connection, const char* command)
{
    SendLine(connection, command);
    return modelFromAnswer(ReadAnswer(connection, kAnswerTimeoutMs));
}

} // namespace

QString IdentifyModel(Connection& connection)
{
    Connection::BusyScope busy(connection);
    ReadAvailable(connection);
    const QString model = askForModel(connection, cmd::MODEL);
    if (!model.isEmpty())
        return model;
    // No flush here: an answer to "MODEL" that came late still names the model.
    return askForModel(connection, cmd::VERSION);
}

QString modelFromAnswer(const QByteArray& answer)
{
    QByteArrayList lines;
    SplitTokens(answer, "\r", lines);
    for (const QByteArray& line : std::as_const(lines)) {
        const QByteArray trimmed = line.trimmed();
        if (trimmed.startsWith("PTM") || trimmed.startsWith("PTN"))
            return QString::fromLatin1(trimmed);
    }
    return {};
}

std::optional<CameraFamily> familyForModel(const QString& model)
{
    for (const ModelRow& row : kModelTable) {
        const QLatin1String name(row.name);
        if (row.exact ? model == name : model.startsWith(name))
            return row.family;
    }
    return std::nullopt;
}

ControlPanelKind controlPanelForModel(const QString& model)
{
    if (model.startsWith(QLatin1String("PTM-TW")))
        return ControlPanelKind::Tovane;
    static const QStringList brevoPrefixes = {QStringLiteral("PTM-KDA"), QStringLiteral("PTM-R"),
                                              QStringLiteral("PTM-T"), QStringLiteral("PTN-KDA")};
    for (const QString& prefix : brevoPrefixes) {
        if (model.startsWith(prefix))
            return ControlPanelKind::Brevo;
    }
    return ControlPanelKind::None;
}
