#include "CameraCore.h"

#include "Behaviours.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace sim {

namespace {

constexpr qint64 kAutoWobblePeriodUs = 6000000;

// A decimal integer as the camera reads its arguments: an optional sign and
// digits, nothing else.
enum class Number { Ok, NotANumber, TooLarge };

Number parseNumber(const QByteArray& token, int& value)
{
    qsizetype pos = (token.startsWith('-') || token.startsWith('+')) ? 1 : 0;
    if (pos >= token.size())
        return Number::NotANumber;
    for (qsizetype i = pos; i < token.size(); ++i) {
        if (token.at(i) < '0' || token.at(i) > '9')
            return Number::NotANumber;
    }
    bool ok = false;
    const qlonglong wide = token.toLongLong(&ok);
    if (!ok || wide < std::numeric_limits<int>::min() || wide > std::numeric_limits<int>::max())
        return Number::TooLarge;
    value = int(wide);
    return Number::Ok;
}

QByteArray joinValues(const QList<int>& values)
{
    QByteArray line;
    for (int v : values) {
        if (!line.isEmpty())
            line += ' ';
        line += QByteArray::number(v);
    }
    return line;
}

// The text after the command word, as typed.
QByteArray textArgument(const QByteArray& line)
{
    const QByteArray trimmed = line.trimmed();
    qsizetype end = 0;
    while (end < trimmed.size() && trimmed.at(end) != ' ' && trimmed.at(end) != '\t')
        ++end;
    return trimmed.mid(end).trimmed();
}

} // namespace

CameraCore::CameraCore(const QString& model) : m_model(modelInfo(model))
{
    for (const CommandDefinition& row : commandsOf(m_model.family)) {
        if (!(row.models & m_model.bit))
            continue;
        m_definitions.push_back(&row);
        if (!m_byWord.contains(row.word))
            m_byWord.insert(row.word, &row);
    }
    fillDefaults();
    m_factory = savedSettings();
    m_userSets.fill(m_factory);
    setStartRate(m_listeningRate);
}

const CommandDefinition* CameraCore::definition(const QByteArray& word) const
{
    return m_byWord.value(word, nullptr);
}

QByteArray CameraCore::storageKey(const QByteArray& word, const QByteArray& index) const
{
    const CommandDefinition* row = definition(word);
    const QByteArray base = row ? row->storageWord() : word;
    return index.isEmpty() ? base : base + ' ' + index;
}

int CameraCore::value(const QByteArray& word, const QByteArray& index) const
{
    const QList<int> stored = values(word, index);
    return stored.isEmpty() ? 0 : stored.first();
}

QList<int> CameraCore::values(const QByteArray& word, const QByteArray& index) const
{
    return m_settings.numbers.value(storageKey(word, index));
}

void CameraCore::setValue(const QByteArray& word, int value, const QByteArray& index)
{
    setValues(word, {value}, index);
}

void CameraCore::setValues(const QByteArray& word, const QList<int>& values, const QByteArray& index)
{
    m_settings.numbers.insert(storageKey(word, index), values);
}

QByteArray CameraCore::text(const QByteArray& word) const
{
    return m_settings.texts.value(storageKey(word, {}));
}

void CameraCore::setText(const QByteArray& word, const QByteArray& text)
{
    m_settings.texts.insert(storageKey(word, {}), text);
}

int CameraCore::sensorWidth() const
{
    const CommandDefinition* row = definition("WIDTH");
    return row ? row->range.max : 0;
}

int CameraCore::sensorHeight() const
{
    const CommandDefinition* row = definition("HEIGHT");
    return row ? row->range.max : 0;
}

qint32 CameraCore::startRate() const
{
    // The Tovane family keeps the rate for its next start apart from the
    // one it runs at; the others start at the rate last set.
    if (m_model.family == Family::Tovane && value("BAUDRATE") > 0)
        return value("BAUDRATE");
    return m_startRate;
}

void CameraCore::setStartRate(qint32 rate)
{
    m_startRate = rate;
    if (m_model.family == Family::Tovane)
        setValue("BAUDRATE", rate);
}

void CameraCore::fillDefaults()
{
    for (const CommandDefinition* row : m_definitions) {
        if (row->storage)
            continue;
        switch (row->kind) {
        case Kind::Integer:
        case Kind::Tuple: {
            const QByteArrayList indexes = row->indexList();
            if (indexes.isEmpty()) {
                setValues(row->word, row->defaultsFor(0));
            } else {
                for (int i = 0; i < indexes.size(); ++i)
                    setValues(row->word, row->defaultsFor(i), indexes.at(i));
            }
            break;
        }
        case Kind::Text:
            setText(row->word, row->text ? QByteArray(row->text) : QByteArray());
            break;
        case Kind::Action:
            break;
        }
    }
}

Settings CameraCore::savedSettings() const
{
    auto saved = [this](const QByteArray& key) {
        const qsizetype blank = key.indexOf(' ');
        const CommandDefinition* row = definition(blank < 0 ? key : key.left(blank));
        return row && !(row->flags & kNotSaved);
    };
    Settings settings;
    for (auto it = m_settings.numbers.cbegin(); it != m_settings.numbers.cend(); ++it) {
        if (saved(it.key()))
            settings.numbers.insert(it.key(), it.value());
    }
    for (auto it = m_settings.texts.cbegin(); it != m_settings.texts.cend(); ++it) {
        if (saved(it.key()))
            settings.texts.insert(it.key(), it.value());
    }
    return settings;
}

void CameraCore::applySettings(const Settings& settings)
{
    for (auto it = settings.numbers.cbegin(); it != settings.numbers.cend(); ++it)
        m_settings.numbers.insert(it.key(), it.value());
    for (auto it = settings.texts.cbegin(); it != settings.texts.cend(); ++it)
        m_settings.texts.insert(it.key(), it.value());
}

void CameraCore::powerOn()
{
    m_autos.clear();
    shading = {};
    defects = {};
    const int set = value("USERSET-DEFAULT");
    applySettings(m_userSets.at(size_t(qBound(0, set, 16))));
    resumeAutos(m_startedUs < 0 ? 0 : m_nowUs);
}

void CameraCore::restoreFactoryDefaults()
{
    m_autos.clear();
    shading.mode = 0;
    defects.mode = 0;
    applySettings(m_factory);
    m_userSets.fill(m_factory);
    setValue("USERSET-DEFAULT", 0);
}

void CameraCore::saveUserSet(int set)
{
    if (set >= 0 && set <= 16)
        m_userSets.at(size_t(set)) = savedSettings();
}

void CameraCore::loadUserSet(int set, qint64 nowUs)
{
    if (set < 0 || set > 16)
        return;
    m_autos.clear();
    applySettings(m_userSets.at(size_t(set)));
    resumeAutos(nowUs);
}

void CameraCore::resumeAutos(qint64 nowUs)
{
    // "Once" is not a lasting state; a continuous control picks up again.
    for (const char* word : {"AE", "AGC", "AWB", "BL-AB"}) {
        if (!supports(word))
            continue;
        const int mode = value(word);
        if (mode == 1)
            setValue(word, 0);
        else if (mode == 2)
            startAuto(word, mode, hooks::autoRamps(*this, word), nowUs);
    }
}

void CameraCore::startAuto(const QByteArray& modeWord, int mode, const QList<Ramp>& ramps, qint64 nowUs)
{
    stopAuto(modeWord);
    if (mode != 0)
        m_autos.push_back({modeWord, mode, nowUs, ramps});
}

void CameraCore::stopAuto(const QByteArray& modeWord)
{
    std::erase_if(m_autos, [&](const AutoRun& run) { return run.modeWord == modeWord; });
}

void CameraCore::advanceTo(qint64 nowUs)
{
    if (m_startedUs < 0)
        m_startedUs = nowUs;
    m_nowUs = qMax(m_nowUs, nowUs);

    for (auto run = m_autos.begin(); run != m_autos.end();) {
        const double done = qMin(1.0, double(nowUs - run->startUs) / double(kAutoRampUs));
        for (const Ramp& ramp : std::as_const(run->ramps)) {
            qint64 v = ramp.from + std::llround((ramp.to - ramp.from) * done);
            if (run->mode == 2 && done >= 1.0) {
                // A continuous control keeps correcting around its target.
                const double amplitude = qMax(1, qAbs(ramp.to) / 50);
                const double phase = 2.0 * M_PI * double(nowUs - run->startUs) / double(kAutoWobblePeriodUs);
                v = ramp.to + std::llround(amplitude * std::sin(phase));
            }
            if (const CommandDefinition* row = definition(ramp.word))
                v = boundedTo(row->range.min, v, row->range.max);
            setValue(ramp.word, int(v));
        }
        if (run->mode == 1 && done >= 1.0) {
            setValue(run->modeWord, 0);
            run = m_autos.erase(run);
        } else {
            ++run;
        }
    }

    for (Operation* operation : {&shading, &defects}) {
        if (operation->mode != 0 && nowUs >= operation->endUs && !detectionsNeverFinish) {
            operation->mode = 0;
            operation->finished = true;
            operation->result = operation->pendingResult;
            if (operation == &shading)
                ++m_detectedPatterns;
        }
    }
}

std::optional<int> CameraCore::savedPattern(int slot) const
{
    const auto found = m_savedPatterns.constFind(slot);
    return found == m_savedPatterns.cend() ? std::nullopt : std::optional<int>(*found);
}

QByteArray CameraCore::takeLastError()
{
    const QByteArray error = m_lastError;
    m_lastError = "No error";
    return error;
}

CameraCore::Reply CameraCore::refuse(const char* reason, const char* terminal)
{
    m_lastError = reason;
    Reply reply;
    reply.body = QByteArray(terminal) + '\r';
    return reply;
}

CameraCore::Reply CameraCore::refuseMissing(const QByteArray& word)
{
    // A word of the family that this model lacks is a missing feature, any
    // other word is simply not known.
    const CommandTable& table = commandsOf(m_model.family);
    const bool familyHasIt = std::any_of(table.begin(), table.end(), [&](const CommandDefinition& row) { return word == row.word; });
    return refuse(familyHasIt ? "Not supported" : "Unknown command");
}

CameraCore::Reply CameraCore::accepted(const QByteArray& valueLine, bool withValue)
{
    Reply reply = m_pending;
    reply.body = (withValue ? valueLine + '\r' : QByteArray()) + "OK\r";
    return reply;
}

CameraCore::Reply CameraCore::execute(const QByteArray& line, qint64 nowUs)
{
    advanceTo(nowUs);
    const QByteArray simple = line.simplified();
    if (simple.isEmpty())
        return {};
    QByteArrayList tokens = simple.split(' ');
    const QByteArray word = tokens.takeFirst().toUpper();
    if (refusedWords.contains(word))
        return refuse("Refused");
    if (word == "HELP")
        return help(tokens);
    const CommandDefinition* row = definition(word);
    if (!row)
        return refuseMissing(word);
    m_pending = {};
    return run(*row, line, tokens, nowUs);
}

CameraCore::Reply CameraCore::run(const CommandDefinition& row, const QByteArray& line, QByteArrayList args, qint64 nowUs)
{
    QByteArray index;
    if (row.indexes) {
        if (args.isEmpty())
            return refuse("Missing index");
        index = args.takeFirst();
        if (!row.indexList().contains(index))
            return refuse("Bad index");
    }
    Request request{row, index, {}, {}, {}, nowUs};
    const bool query = args.isEmpty() && row.kind != Kind::Action;
    if (query) {
        if (row.read)
            return accepted(row.read(*this, request), true);
        if (row.kind == Kind::Text)
            return accepted(text(row.word), true);
        return accepted(joinValues(values(row.word, index)), true);
    }
    if (row.flags & kReadOnly)
        return refuse("Read only");
    if (refusedChanges.contains(row.word))
        return refuse("Refused");

    if (row.kind == Kind::Text) {
        request.text = textArgument(line);
    } else {
        const int wanted = row.kind == Kind::Action ? ((row.flags & kNeedsArgument) ? 1 : 0) : row.arity();
        for (const QByteArray& token : std::as_const(args)) {
            int v = 0;
            switch (parseNumber(token, v)) {
            case Number::NotANumber:
                return refuse("Syntax error", "ERROR");
            case Number::TooLarge:
                return refuse("Out of range");
            case Number::Ok:
                request.values.append(v);
                break;
            }
        }
        if (request.values.size() < wanted)
            return refuse("Missing argument");
        if (request.values.size() > wanted)
            return refuse("Too many arguments");
        for (int i = 0; i < request.values.size(); ++i) {
            const bool inRange = row.kind == Kind::Tuple ? row.fields.at(size_t(i)).holds(request.values.at(i))
                                                         : row.allows(request.values.at(i));
            if (!inRange)
                return refuse("Out of range");
        }
    }
    if (row.check) {
        if (const char* reason = row.check(*this, request))
            return refuse(reason);
    }
    switch (row.kind) {
    case Kind::Text:
        setText(row.word, request.text);
        break;
    case Kind::Integer:
    case Kind::Tuple:
        request.previous = values(row.word, index);
        setValues(row.word, request.values, index);
        break;
    case Kind::Action:
        break;
    }
    if (row.after)
        row.after(*this, request);
    Reply reply = accepted();
    reply.delayUs = qint64(row.delayMs) * 1000;
    return reply;
}

CameraCore::Reply CameraCore::help(const QByteArrayList& tokens)
{
    QByteArray body;
    if (tokens.isEmpty()) {
        QByteArrayList words{"HELP"};
        for (const CommandDefinition* row : m_definitions) {
            if (!words.contains(row->word))
                words.append(row->word);
        }
        for (const QByteArray& word : std::as_const(words))
            body += word + '\r';
        return {body + "OK\r"};
    }
    const QByteArray word = tokens.first().toUpper();
    if (refusedWords.contains(word))
        return refuse("Refused");
    if (word == "HELP")
        return {"OK\r"};
    const CommandDefinition* row = definition(word);
    if (!row)
        return refuseMissing(word);
    const bool takesNumber = (row->kind == Kind::Integer && !(row->flags & kReadOnly))
        || (row->kind == Kind::Action && (row->flags & kNeedsArgument));
    if (row->hasChoices()) {
        for (const QByteArray& choice : row->choiceLines())
            body += choice + '\r';
    } else if (takesNumber) {
        body += " min:" + QByteArray::number(row->range.min) + ", max:" + QByteArray::number(row->range.max)
            + ", step:" + QByteArray::number(row->range.step) + '\r';
    }
    return {body + "OK\r"};
}

} // namespace sim
