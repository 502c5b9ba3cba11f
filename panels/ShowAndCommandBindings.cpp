#include "ShowAndCommandBindings.h"

#include "PageSettings.h"
#include "SendPath.h"
#include "Setting.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>

// ---------------------------------------------------------------- ReadoutBinding

ReadoutBinding::ReadoutBinding(SendPath& path, QWidget* target, Setting& setting, Format format)
    : Binding(path, &setting, QString()), m_target(target), m_format(std::move(format))
{
    if (auto* edit = qobject_cast<QLineEdit*>(target))
        edit->setReadOnly(true);
    followSetting();
}

ReadoutBinding::ReadoutBinding(SendPath& path, QWidget* target, Setting& setting, QString prefix)
    : Binding(path, &setting, QString()), m_target(target), m_prefix(std::move(prefix))
{
    if (auto* edit = qobject_cast<QLineEdit*>(target))
        edit->setReadOnly(true);
    followSetting();
}

QObject* ReadoutBinding::control() const
{
    return m_target;
}

void ReadoutBinding::showSetting()
{
    const Setting& setting = *m_setting;
    if (!setting.isKnown()) {
        showText(m_target, m_prefix + (setting.isUnavailable() ? kNotAvailable : kNotRead));
        return;
    }
    if (!m_format) {
        showText(m_target, m_prefix + QString::fromLatin1(setting.value()));
        return;
    }
    if (const std::optional<int> value = setting.number()) {
        const QString text = m_format(*value);
        // A format with nothing to show for a value leaves the read-out as it is.
        if (!text.isNull())
            showText(m_target, text);
    }
}

// ---------------------------------------------------------------- NumberedListsBinding

NumberedListsBinding::NumberedListsBinding(SendPath& path, QList<QComboBox*> lists, Setting& rangeOf,
                                           const char* format)
    : Binding(path, &rangeOf, QString()), m_lists(std::move(lists)), m_format(format)
{
    QObject::connect(m_setting, &Setting::rangeChanged, receiver(), [this] { fill(); });
    // A page built after its settings were read gets the range now.
    if (m_setting->range())
        fill();
}

QObject* NumberedListsBinding::control() const
{
    return m_lists.value(0);
}

void NumberedListsBinding::fill()
{
    const auto& range = m_setting->range();
    const int max = range ? qBound(0, range->max, kMaxItems - 1) : 0;
    for (QComboBox* list : std::as_const(m_lists)) {
        list->clear();
        for (int i = 0; i <= max; ++i)
            list->addItem(QString::asprintf(m_format, i));
    }
}

// ---------------------------------------------------------------- ButtonBinding

ButtonBinding::ButtonBinding(SendPath& path, QAbstractButton* button, const CameraCommand& command)
    : Binding(path, nullptr, button->text()), m_button(button), m_command(command)
{
    QObject::connect(button, &QAbstractButton::clicked, button, [this] { whenIdle([this] { clicked(); }); });
    keepToolTip();
}

ButtonBinding& ButtonBinding::argument(std::function<std::optional<int>()> argument)
{
    m_argument = std::move(argument);
    refreshToolTip();
    return *this;
}

ButtonBinding& ButtonBinding::selectedIndexOf(QComboBox* list)
{
    return argument([list]() -> std::optional<int> {
        const int index = list->currentIndex();
        if (index < 0)
            return std::nullopt;
        return index;
    });
}

ButtonBinding& ButtonBinding::disabledWhileSending()
{
    m_disabledWhileSending = true;
    return *this;
}

ButtonBinding& ButtonBinding::then(std::function<void()> hook)
{
    m_thenHook = std::move(hook);
    return *this;
}

QObject* ButtonBinding::control() const
{
    return m_button;
}

QString ButtonBinding::sentLine() const
{
    const QString word = QString::fromLatin1(m_command.word);
    return m_argument ? word + QStringLiteral(" <n>") : word;
}

void ButtonBinding::clicked()
{
    std::optional<int> value;
    if (m_argument) {
        value = m_argument();
        if (!value)
            return;
    }
    const QByteArray line = value ? m_command.line(*value) : m_command.word;
    if (m_disabledWhileSending)
        m_button->setEnabled(false);
    m_path.command(line, m_command.mode);
    if (m_disabledWhileSending)
        m_button->setEnabled(true);
    if (m_thenHook)
        m_thenHook();
}
