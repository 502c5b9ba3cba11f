#include "Models.h"

namespace sim {

const QList<ModelInfo>& knownModels()
{
    static const QList<ModelInfo> models = {
        {QStringLiteral("PTM-TW640"), kTW640, Family::Tovane, "TW0640C1027", 1},
        {QStringLiteral("PTM-TW640M"), kTW640M, Family::Tovane, "TW0640M1031", 1},
        {QStringLiteral("PTM-R560CL"), kR560CL, Family::Brevo, "R05604C0112", 4},
        {QStringLiteral("PTM-R290CL"), kR290CL, Family::Brevo, "R02902C0417", 2},
        {QStringLiteral("PTM-R140ML"), kR140ML, Family::Brevo, "R01401M0763", 1},
        {QStringLiteral("PTM-R140MLF"), kR140MLF, Family::Brevo, "R01401F0219", 1},
        {QStringLiteral("PTM-6006"), kGeneric, Family::None, "G60060000815", 1},
    };
    return models;
}

ModelInfo modelInfo(const QString& name)
{
    for (const ModelInfo& model : knownModels()) {
        if (model.name == name)
            return model;
    }
    ModelInfo unknown;
    unknown.name = name;
    unknown.serial = "G00000000000";
    return unknown;
}

bool isKnownModel(const QString& name)
{
    for (const ModelInfo& model : knownModels()) {
        if (model.name == name)
            return true;
    }
    return false;
}

const CommandTable& commandsOf(Family family)
{
    switch (family) {
    case Family::Brevo:
        return brevoCommands();
    case Family::Tovane:
        return tovaneCommands();
    case Family::None:
        break;
    }
    return basicCommands();
}

QList<int> CommandDefinition::choiceValues() const
{
    QList<int> values;
    if (!choices)
        return values;
    for (const QByteArray& choice : QByteArray(choices).split('|'))
        values.append(choice.left(choice.indexOf(':')).toInt());
    return values;
}

QByteArrayList CommandDefinition::choiceLines() const
{
    QByteArrayList lines;
    if (!choices)
        return lines;
    for (const QByteArray& choice : QByteArray(choices).split('|')) {
        const qsizetype colon = choice.indexOf(':');
        lines.append(' ' + choice.left(colon) + '(' + choice.mid(colon + 1) + ')');
    }
    return lines;
}

QByteArrayList CommandDefinition::indexList() const
{
    return indexes ? QByteArray(indexes).split(' ') : QByteArrayList{};
}

QList<int> CommandDefinition::defaultsFor(int indexPosition) const
{
    if (defaults.empty())
        return QList<int>(arity(), kind == Kind::Integer ? def : 0);
    const auto& row = defaults.size() == 1 ? defaults.front() : defaults.at(size_t(indexPosition));
    return QList<int>(row.begin(), row.end());
}

} // namespace sim
