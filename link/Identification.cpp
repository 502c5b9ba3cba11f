#include "Identification.h"

#include "CommandWords.h"
#include "Connection.h"
#include "Answer.h"
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

// Sends the command and reads for a short, bounded time. An answer that has
// not ended by then is still owed by the camera: the next exchange waits for
// it rather than take it for its own.
QString askForModel(Connection& connection, const char* command, int& answersOwed)
{
    SendLine(connection, command);
    ++answersOwed;
    const QByteArray answer = ReadAnswer(connection, kAnswerTimeoutMs);
    for (const QByteArray& line : splitLines(answer)) {
        if (isTerminalLine(line) && answersOwed > 0)
            --answersOwed;
    }
    return modelFromAnswer(answer);
}

QString identify(Connection& connection, int& answersOwed)
{
    const QString model = askForModel(connection, cmd::MODEL, answersOwed);
    if (!model.isEmpty())
        return model;
    // No flush here: an answer to "MODEL" that came late still names the model.
    return askForModel(connection, cmd::VERSION, answersOwed);
}

} // namespace

QString IdentifyModel(Connection& connection)
{
    Connection::BusyScope busy(connection);
    // A slow camera may still be answering the last identification.
    AwaitOwedAnswers(connection, 2 * kAnswerTimeoutMs);
    ReadAvailable(connection);
    int answersOwed = 0;
    const QString model = identify(connection, answersOwed);
    for (int owed = 0; owed < answersOwed; ++owed)
        connection.expectAnswer(cmd::MODEL, {});
    return model;
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
