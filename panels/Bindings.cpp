#include "Bindings.h"

#include "Controls.h"
#include "SendPath.h"
#include "Setting.h"

#include <QAbstractButton>
#include <QAbstractSlider>

namespace {

QString captionOr(const QString& caption, const Setting& setting)
{
    return caption.isEmpty() ? setting.caption() : caption;
}

} // namespace

Bindings::Bindings(SendPath& path) : m_path(path) {}

Bindings::~Bindings() = default;

EditBinding& Bindings::edit(QLineEdit* edit, Setting& setting, const QString& caption)
{
    return add<EditBinding>(edit, setting, captionOr(caption, setting));
}

SliderBinding& Bindings::slider(QAbstractSlider* slider, Setting& setting, const QString& caption)
{
    return add<SliderBinding>(slider, setting, captionOr(caption, setting));
}

ComboBinding& Bindings::combo(QComboBox* combo, Setting& setting, const QString& caption)
{
    return add<ComboBinding>(combo, setting, captionOr(caption, setting));
}

CheckBinding& Bindings::check(QAbstractButton* box, Setting& setting)
{
    return add<CheckBinding>(box, setting);
}

RadioBinding& Bindings::radios(RadioGroup* group, Setting& setting, const QString& caption)
{
    return add<RadioBinding>(group, setting, captionOr(caption, setting));
}

ReadoutBinding& Bindings::readout(QWidget* target, Setting& setting, Format format)
{
    return add<ReadoutBinding>(target, setting, std::move(format));
}

ReadoutBinding& Bindings::readout(QWidget* target, Setting& setting, const QString& prefix)
{
    return add<ReadoutBinding>(target, setting, prefix);
}

ButtonBinding& Bindings::button(QAbstractButton* button, const CameraCommand& command)
{
    return add<ButtonBinding>(button, command);
}

NumberedListsBinding& Bindings::numbered(QList<QComboBox*> lists, Setting& rangeOf, const char* format)
{
    return add<NumberedListsBinding>(std::move(lists), rangeOf, format);
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
    SendPath& path = m_path;
    QObject::connect(button, &QAbstractButton::clicked, button,
                     [&path, button, handler = std::move(handler)] { path.whenIdle(handler, button); });
}

SliderNotifier* Bindings::onSlider(QAbstractSlider* slider, const QString& caption,
                                  std::function<void(SliderNotification kind, int position)> handler)
{
    nameSliderForAccessibility(slider, caption);
    auto* notifier = new SliderNotifier(slider);
    SendPath& path = m_path;
    QObject::connect(notifier, &SliderNotifier::notified, notifier,
                     [&path, slider, handler = std::move(handler)](SliderNotification kind, int position) {
                         path.whenIdle([handler, kind, position] { handler(kind, position); }, slider);
                     });
    return notifier;
}
