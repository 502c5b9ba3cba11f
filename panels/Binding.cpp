#include "Binding.h"

#include "Display.h"
#include "Link.h"

#include <QPointer>

namespace {

// "<word> <n>" for the number read from the text; nothing when none is read.
LineForText lineOfNumber(const QByteArray& word, std::function<std::optional<int>(const QString& text)> read)
{
    return [word, read = std::move(read)](const QString& text) -> std::optional<QByteArray> {
        const std::optional<int> value = read(text);
        if (!value)
            return std::nullopt;
        return setLine(word, *value);
    };
}

} // namespace

// ---------------------------------------------------------------- Line

LineForText Line::text(const QByteArray& word)
{
    return [word](const QString& text) -> std::optional<QByteArray> { return word + ' ' + text.toLatin1(); };
}

LineForText Line::scaled(const QByteArray& word, double factor)
{
    return lineOfNumber(word, [factor](const QString& text) { return readScaled(text, factor); });
}

LineForText Line::scaledToNearest(const QByteArray& word, double factor)
{
    return lineOfNumber(word, [factor](const QString& text) { return readScaledToNearest(text, factor); });
}

LineForText Line::wholeNumber(const QByteArray& word, int min, int max)
{
    return lineOfNumber(word, [min, max](const QString& text) { return readWholeNumber(text, min, max); });
}

// ---------------------------------------------------------------- Binding

Binding::Binding(Connection& connection, QString caption, QByteArray word, SendMode mode)
    : m_connection(connection), m_caption(std::move(caption)), m_word(std::move(word)), m_mode(mode)
{
}

Binding::~Binding() = default;

QByteArray Binding::lineWith(const QByteArray& argument) const
{
    return m_index.isEmpty() ? m_word + ' ' + argument : m_word + ' ' + m_index + ' ' + argument;
}

QByteArray Binding::settingKey() const
{
    return (m_index.isEmpty() ? m_word : m_word + ' ' + m_index).simplified();
}

std::optional<QByteArray> Binding::settingLine() const
{
    if (!m_isSetting)
        return std::nullopt;
    std::optional<QByteArray> line = composeSetting();
    // Some lines go out with a carriage return of their own; the empty line
    // it makes is no part of the setting.
    while (line && line->endsWith('\r'))
        line->chop(1);
    return line;
}

double Binding::answerTimeoutSeconds() const
{
    return m_mode.awaitsAnswer() ? m_mode.timeoutSeconds() : 1.0;
}

bool Binding::deliver(const QByteArray& line, int value, const std::function<void()>& follow)
{
    if (m_onlyIf && !m_onlyIf(value))
        return false;
    if (m_before)
        m_before(value);
    SetOutcome outcome = SetOutcome::Accepted;
    if (m_mode.awaitsAnswer()) {
        outcome = TransactOutcome(m_connection, line, m_mode.timeoutSeconds());
    } else {
        QPointer<QObject> guard(control());
        StreamLine(m_connection, line, [this, guard, line] {
            if (guard)
                streamedLineRefused(line);
        });
    }
    const bool refusedHere = outcome == SetOutcome::Refused && !m_onRefused;
    // The camera's reason is asked for at once, before anything else can
    // overwrite it.
    const QString reason = refusedHere ? LastErrorText(m_connection) : QString();
    if (outcome != SetOutcome::Accepted && m_onRefused)
        m_onRefused(value);
    if (follow && !refusedHere)
        follow();
    if (m_then && !refusedHere)
        m_then(value);
    if (refusedHere)
        refused(line, reason);
    else if (outcome == SetOutcome::NoAnswer)
        m_connection.reportNoAnswer(line);
    return outcome == SetOutcome::Accepted;
}

void Binding::whenIdle(std::function<void()> action)
{
    m_connection.whenIdle(std::move(action), control());
}

void Binding::refused(const QByteArray& line, const QString& reason)
{
    restore();
    if (m_then) {
        if (const std::optional<int> shown = shownValue())
            m_then(*shown);
    }
    m_connection.reportRefusal(line, reason);
}

void Binding::streamedLineRefused(const QByteArray& line)
{
    // A drag may have streamed many refused lines; the control is read back
    // once, after the last of them.
    m_lastRefusedLine = line;
    if (m_streamedRefusalPending || m_onRefused)
        return;
    m_streamedRefusalPending = true;
    QPointer<QObject> guard(control());
    m_connection.whenIdle(
        [this, guard] {
            if (!guard)
                return;
            m_streamedRefusalPending = false;
            refused(m_lastRefusedLine, LastErrorText(m_connection));
        },
        control());
}

void Binding::restore()
{
    if (m_restorer && m_restorer(control()))
        return;
    // No load step fills the control: the command word is asked for its value.
    const QByteArray query = m_index.isEmpty() ? m_word.trimmed() : m_word + ' ' + m_index;
    int value = 0;
    if (QueryInts(m_connection, query, "%d", {&value}))
        showReadBack(value);
}
