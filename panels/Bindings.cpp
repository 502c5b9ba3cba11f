#include "Bindings.h"

#include "Connection.h"
#include "Controls.h"

#include <QAbstractButton>
#include <QAbstractSlider>

// ---------------------------------------------------------------- Bindings

Bindings::Bindings(Connection& connection) : m_connection(connection) {}

Bindings::~Bindings() = default;

void Bindings::setRestorer(std::function<bool(QObject* control)> restorer)
{
    m_restorer = std::move(restorer);
    for (const auto& binding : m_bindings)
        binding->m_restorer = m_restorer;
}

template <class B, class... Args>
B& Bindings::add(Args&&... args)
{
    auto binding = std::make_unique<B>(m_connection, std::forward<Args>(args)...);
    static_cast<Binding&>(*binding).m_restorer = m_restorer;
    B& reference = *binding;
    m_bindings.push_back(std::move(binding));
    return reference;
}

EditBinding& Bindings::edit(QLineEdit* edit, const QString& caption, const QByteArray& word)
{
    return add<EditBinding>(edit, caption, word);
}

SliderBinding& Bindings::slider(QAbstractSlider* slider, const QString& caption, const QByteArray& word)
{
    return add<SliderBinding>(slider, caption, word);
}

ComboBinding& Bindings::combo(QComboBox* combo, const QString& caption, const QByteArray& word)
{
    return add<ComboBinding>(combo, caption, word);
}

CheckBinding& Bindings::check(QAbstractButton* box, const QByteArray& word)
{
    return add<CheckBinding>(box, word);
}

RadioBinding& Bindings::radios(RadioGroup* group, const QString& caption, const QByteArray& word)
{
    return add<RadioBinding>(group, caption, word);
}

ButtonBinding& Bindings::button(QAbstractButton* button, const QByteArray& word)
{
    return add<ButtonBinding>(button, word);
}

SettingBinding& Bindings::setting(QObject* control, const QByteArray& word,
                                  std::function<std::optional<QByteArray>()> compose)
{
    return add<SettingBinding>(control, word, std::move(compose));
}

QList<const Binding*> Bindings::all() const
{
    QList<const Binding*> bindings;
    for (const auto& binding : m_bindings)
        bindings.append(binding.get());
    return bindings;
}

void Bindings::action(QAbstractButton* button, std::function<void()> handler)
{
    Connection& connection = m_connection;
    QObject::connect(button, &QAbstractButton::clicked, button, [&connection, button, handler = std::move(handler)] {
        connection.whenIdle(handler, button);
    });
}

SliderNotifier* Bindings::onSlider(QAbstractSlider* slider, const QString& caption,
                                  std::function<void(SliderNotification kind, int position)> handler)
{
    nameSliderForAccessibility(slider, caption);
    auto* notifier = new SliderNotifier(slider);
    Connection& connection = m_connection;
    QObject::connect(notifier, &SliderNotifier::notified, notifier,
                     [&connection, slider, handler = std::move(handler)](SliderNotification kind, int position) {
                         connection.whenIdle([handler, kind, position] { handler(kind, position); }, slider);
                     });
    return notifier;
}
