#include "Setting.h"

#include "Scan.h"

Setting::Setting(QByteArray word, QString caption, Form form, QObject* parent)
    : QObject(parent), m_word(std::move(word)), m_caption(std::move(caption)), m_form(form)
{
}

Setting::~Setting() = default;

Setting& Setting::indexed(const QByteArray& index)
{
    m_index = index;
    return *this;
}

Setting& Setting::numbersLike(const char* format, int count)
{
    m_numbersFormat = format;
    m_numbersCount = count;
    return *this;
}

Setting& Setting::sentWith(SendMode mode)
{
    m_sendMode = mode;
    return *this;
}

Setting& Setting::lineFrom(std::function<QByteArray(const QByteArray&)> compose)
{
    m_compose = std::move(compose);
    return *this;
}

Setting& Setting::readOnly()
{
    m_readOnly = true;
    return *this;
}

Setting& Setting::notSaved()
{
    m_notSaved = true;
    return *this;
}

Setting& Setting::appliedFirst()
{
    m_appliedFirst = true;
    return *this;
}

Setting& Setting::followedBy(QList<Setting*> settings)
{
    m_followers += settings;
    return *this;
}

Setting& Setting::reasonAfterChecks()
{
    m_reasonDelayMs = 500;
    return *this;
}

Setting& Setting::savedAs(std::function<std::optional<QByteArray>(const Setting&)> compose)
{
    m_composeFileLine = std::move(compose);
    return *this;
}

QByteArray Setting::key() const
{
    return (m_index.isEmpty() ? m_word : m_word + ' ' + m_index).simplified();
}

QByteArray Setting::query() const
{
    return m_index.isEmpty() ? m_word : m_word + ' ' + m_index;
}

std::optional<int> Setting::number() const
{
    if (m_state != State::Known)
        return std::nullopt;
    int value = 0;
    if (scanInts(m_value, "%d", {&value}) != 1)
        return std::nullopt;
    return value;
}

QList<int> Setting::numbers() const
{
    QList<int> values;
    if (m_state != State::Known)
        return values;
    for (const QByteArray& token : m_value.simplified().split(' ')) {
        bool ok = false;
        const int value = token.toInt(&ok);
        if (ok)
            values.append(value);
    }
    return values;
}

void Setting::setValue(const QByteArray& value)
{
    m_state = State::Known;
    m_value = value;
    emit changed();
}

void Setting::setNumbers(const QList<int>& values)
{
    QByteArrayList parts;
    for (int value : values)
        parts.append(QByteArray::number(value));
    setValue(parts.join(' '));
}

void Setting::setNotRead()
{
    m_state = State::NotRead;
    m_value.clear();
    emit changed();
}

void Setting::setUnavailable()
{
    m_state = State::Unavailable;
    m_value.clear();
    emit changed();
}

void Setting::setRange(std::optional<Range> range)
{
    m_range = range;
    emit rangeChanged();
}

void Setting::setChoices(const QByteArrayList& choices)
{
    m_choices = choices;
    emit choicesChanged();
}

QByteArray Setting::lineFor(const QByteArray& argument) const
{
    if (m_compose)
        return m_compose(argument);
    return m_index.isEmpty() ? m_word + ' ' + argument : m_word + ' ' + m_index + ' ' + argument;
}

std::optional<QByteArray> Setting::fileLine() const
{
    if (!isSaved() || m_state != State::Known)
        return std::nullopt;
    std::optional<QByteArray> line = m_composeFileLine ? m_composeFileLine(*this) : std::optional(lineFor(m_value));
    // Some lines go out with a carriage return of their own; the empty line
    // it makes is no part of the setting.
    while (line && line->endsWith('\r'))
        line->chop(1);
    return line;
}
