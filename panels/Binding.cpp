#include "Binding.h"

#include "Link.h"
#include "SendPath.h"
#include "Setting.h"

#include <QEvent>
#include <QWidget>

namespace {

// Runs refresh just before a watched widget shows its tool tip.
class ToolTipRefresher : public QObject {
public:
    ToolTipRefresher(std::function<void()> refresh, QObject* parent)
        : QObject(parent), m_refresh(std::move(refresh))
    {
    }

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::ToolTip)
            m_refresh();
        return false;
    }

private:
    std::function<void()> m_refresh;
};

// The value a line carries, in the form the camera takes it.
QString placeholderFor(const Setting& setting)
{
    switch (setting.form()) {
    case Setting::Form::Text:
        return QStringLiteral("<text>");
    case Setting::Form::Numbers:
        return QStringList(qMax(1, setting.numbersCount()), QStringLiteral("<n>")).join(QLatin1Char(' '));
    case Setting::Form::Number:
    case Setting::Form::OptionalNumber:
        break;
    }
    return QStringLiteral("<n>");
}

const QString kFromHelp = QStringLiteral(" (the camera's HELP answer)");

// "a, b or c"; after a dozen, "a, b, …".
QString listedUpToADozen(QStringList texts)
{
    constexpr qsizetype kMaxListed = 12;
    if (texts.size() <= kMaxListed)
        return listedWithOr(texts);
    return texts.mid(0, kMaxListed).join(QStringLiteral(", ")) + QStringLiteral(", …");
}

// "0(Line0), 1(Line1) or 4(Software)" from the choice lines.
QString choicesText(const QByteArrayList& choices)
{
    QStringList texts;
    for (const QByteArray& choice : choices)
        texts << QString::fromLatin1(choice.trimmed());
    return listedUpToADozen(texts);
}

} // namespace

QString shownValue(const Setting& setting)
{
    switch (setting.state()) {
    case Setting::State::Known:
        return setting.value().isEmpty() ? QStringLiteral("(empty)") : QString::fromLatin1(setting.value());
    case Setting::State::Unavailable:
        return kNotAvailable;
    case Setting::State::NotRead:
        break;
    }
    return kNotRead;
}

QString valuesText(const QList<int>& values)
{
    if (values.isEmpty())
        return {};
    bool consecutive = values.size() > 2;
    for (qsizetype i = 1; consecutive && i < values.size(); ++i)
        consecutive = values.at(i) == values.at(i - 1) + 1;
    if (consecutive)
        return QStringLiteral("%1 to %2").arg(values.first()).arg(values.last());
    QStringList texts;
    for (const int value : values)
        texts << QString::number(value);
    return listedUpToADozen(texts);
}

QString listedWithOr(QStringList texts)
{
    if (texts.isEmpty())
        return {};
    const QString last = texts.takeLast();
    return texts.isEmpty() ? last : texts.join(QStringLiteral(", ")) + QStringLiteral(" or ") + last;
}

Binding::Binding(SendPath& path, Setting* setting, QString caption)
    : m_path(path), m_setting(setting), m_caption(std::move(caption))
{
}

Binding::~Binding() = default;

void Binding::followSetting()
{
    if (!m_setting)
        return;
    QObject::connect(m_setting, &Setting::changed, receiver(), [this] { refresh(); });
    keepToolTip();
    for (auto signal : {&Setting::rangeChanged, &Setting::choicesChanged})
        QObject::connect(m_setting, signal, m_toolTips, [this] { refreshToolTip(); });
    refresh();
}

void Binding::refresh()
{
    showSetting();
    refreshToolTip();
}

void Binding::rebind(Setting& setting)
{
    if (m_setting) {
        QObject::disconnect(m_setting, &Setting::changed, receiver(), nullptr);
        QObject::disconnect(m_setting, nullptr, m_toolTips, nullptr);
    }
    m_setting = &setting;
    followSetting();
}

QList<QWidget*> Binding::widgets() const
{
    if (auto* widget = qobject_cast<QWidget*>(control()))
        return {widget};
    return {};
}

void Binding::keepToolTip()
{
    if (m_toolTips)
        return;
    m_toolTips = new ToolTipRefresher([this] { refreshToolTip(); }, receiver());
    for (QWidget* widget : widgets())
        widget->installEventFilter(m_toolTips);
    refreshToolTip();
}

void Binding::refreshToolTip()
{
    const QString text = toolTip();
    for (QWidget* widget : widgets())
        widget->setToolTip(text);
}

QString Binding::sentLine() const
{
    if (!m_setting || m_setting->isReadOnly())
        return {};
    // As the line goes out, without the carriage return some words carry.
    return QString::fromLatin1(m_setting->lineFor(placeholderFor(*m_setting).toLatin1())).remove(QLatin1Char('\r'));
}

QString Binding::toolTip() const
{
    QStringList lines;
    const QString sent = sentLine();
    if (!sent.isEmpty())
        lines << QStringLiteral("Sends %1").arg(sent);
    else if (m_setting)
        lines << QStringLiteral("Shows %1").arg(QString::fromLatin1(m_setting->key()));
    if (!m_setting)
        return lines.join(QLatin1Char('\n'));
    if (const auto& range = m_setting->range()) {
        QString text = QStringLiteral("Range %1 to %2").arg(range->min).arg(range->max);
        if (range->step > 1)
            text += QStringLiteral(", step %1").arg(range->step);
        lines << text + kFromHelp;
    } else if (!m_setting->choices().isEmpty()) {
        lines << QStringLiteral("Choices %1").arg(choicesText(m_setting->choices())) + kFromHelp;
    } else if (const QString own = controlRange(); !own.isEmpty() && !sent.isEmpty()) {
        lines << QStringLiteral("Range %1").arg(own);
    }
    lines << QStringLiteral("The camera's value: %1").arg(shownValue(*m_setting));
    return lines.join(QLatin1Char('\n'));
}

bool Binding::deliver(const QByteArray& argument, int value)
{
    if (!m_setting)
        return false;
    if (m_onlyIf && !m_onlyIf(value))
        return false;
    if (m_before)
        m_before(value);
    const SetOutcome outcome = m_path.set(*m_setting, argument, m_mode);
    for (Setting* setting : std::as_const(m_thenRead))
        m_path.readBack(*setting);
    if (m_then && m_setting) {
        if (const std::optional<int> held = m_setting->number())
            m_then(*held);
    }
    return outcome == SetOutcome::Accepted;
}

void Binding::whenIdle(std::function<void()> action)
{
    m_path.whenIdle(std::move(action), control());
}
