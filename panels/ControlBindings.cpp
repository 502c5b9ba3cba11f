#include "ControlBindings.h"

#include "Controls.h"
#include "Link.h"
#include "LoadPlan.h"
#include "RadioGroup.h"
#include "Scan.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QRadioButton>

namespace {

void showReadout(QWidget* target, const Format& format, int value)
{
    if (!target || !format)
        return;
    const QString text = format(value);
    if (!text.isNull())
        showText(target, text);
}

} // namespace

// ---------------------------------------------------------------- EditBinding

EditBinding::EditBinding(Connection& connection, QLineEdit* edit, QString caption, QByteArray word)
    : BindingWith(connection, std::move(caption), std::move(word), SendMode::transact()), m_edit(edit)
{
    nameForAccessibility(edit, m_caption);
    QObject::connect(edit, &QLineEdit::returnPressed, edit, [this] {
        const QString text = m_edit->text();
        whenIdle([this, text] { enterText(text); });
    });
}

EditBinding& EditBinding::slider(QAbstractSlider* slider)
{
    m_slider = slider;
    return *this;
}

EditBinding& EditBinding::readout(QWidget* target, Format format)
{
    m_readout = target;
    m_format = std::move(format);
    return *this;
}

EditBinding& EditBinding::accept(int min, int max)
{
    m_accepted = std::make_pair(min, max);
    return *this;
}

EditBinding& EditBinding::wholeNumbersOnly()
{
    return accept(INT_MIN, INT_MAX);
}

EditBinding& EditBinding::line(LineForText compose)
{
    m_compose = std::move(compose);
    return *this;
}

EditBinding& EditBinding::savedAs(LineForText compose)
{
    m_composeSetting = std::move(compose);
    return *this;
}

EditBinding& EditBinding::onEnter(std::function<void()> handler)
{
    m_onEnter = std::move(handler);
    return *this;
}

void EditBinding::enter()
{
    enterText(m_edit->text());
}

void EditBinding::enterText(const QString& text)
{
    if (m_onEnter) {
        m_onEnter();
        return;
    }
    int value = readDecimal(text);
    if (m_accepted) {
        const std::optional<int> whole = readWholeNumber(text, m_accepted->first, m_accepted->second);
        if (!whole)
            return;
        value = *whole;
    }
    const std::optional<QByteArray> line = m_compose ? m_compose(text) : lineWith(value);
    if (!line)
        return;
    deliver(*line, value, [this, value] {
        if (m_slider)
            m_slider->setValue(value);
        showReadout(m_readout, m_format, value);
    });
}

QObject* EditBinding::control() const
{
    return m_edit;
}

std::optional<QByteArray> EditBinding::composeSetting() const
{
    // A row of a table sends its line itself and says so with a setting of its own.
    if (m_onEnter)
        return std::nullopt;
    const QString text = m_edit->text();
    if (text.trimmed().isEmpty() || text.trimmed() == LoadPlan::kNotAvailable)
        return std::nullopt;
    if (m_composeSetting)
        return m_composeSetting(text);
    if (m_compose)
        return m_compose(text);
    const std::optional<int> value =
        m_accepted ? readWholeNumber(text, m_accepted->first, m_accepted->second) : readWholeNumber(text);
    if (!value)
        return std::nullopt;
    return lineWith(*value);
}

std::optional<int> EditBinding::shownValue() const
{
    const QString text = m_edit->text();
    if (m_accepted)
        return readWholeNumber(text, m_accepted->first, m_accepted->second);
    return readDecimal(text);
}

void EditBinding::show(int value)
{
    m_edit->setText(QString::number(value));
    if (m_slider)
        m_slider->setValue(value);
    showReadout(m_readout, m_format, value);
}

// ---------------------------------------------------------------- SliderBinding

SliderBinding::SliderBinding(Connection& connection, QAbstractSlider* slider, QString caption, QByteArray word)
    : BindingWith(connection, std::move(caption), std::move(word), SendMode::line()), m_slider(slider),
      m_notifier(new SliderNotifier(slider))
{
    nameSliderForAccessibility(slider, m_caption);
    QObject::connect(m_notifier, &SliderNotifier::notified, m_notifier, [this](SliderNotification kind, int position) {
        whenIdle([this, kind, position] { notified(kind, position); });
    });
}

SliderBinding& SliderBinding::edit(QLineEdit* edit)
{
    m_edit = edit;
    return *this;
}

SliderBinding& SliderBinding::readout(QWidget* target, Format format)
{
    m_readout = target;
    m_format = std::move(format);
    return *this;
}

SliderBinding& SliderBinding::on(SliderNotifications kinds)
{
    m_kinds = kinds;
    return *this;
}

SliderBinding& SliderBinding::line(LineForValue compose)
{
    m_compose = std::move(compose);
    return *this;
}

void SliderBinding::notified(SliderNotification kind, int position)
{
    if (!m_kinds.testFlag(kind))
        return;
    const std::optional<QByteArray> line = lineFor(m_compose, position);
    if (!line)
        return;
    deliver(*line, position, [this, position] { follow(position); });
}

void SliderBinding::follow(int value)
{
    if (m_edit)
        m_edit->setText(QString::number(value));
    showReadout(m_readout, m_format, value);
}

QObject* SliderBinding::control() const
{
    return m_slider;
}

std::optional<QByteArray> SliderBinding::composeSetting() const
{
    return lineFor(m_compose, m_slider->value());
}

std::optional<int> SliderBinding::shownValue() const
{
    return m_slider->value();
}

void SliderBinding::show(int value)
{
    m_slider->setValue(value);
    follow(value);
}

// ---------------------------------------------------------------- ComboBinding

ComboBinding::ComboBinding(Connection& connection, QComboBox* combo, QString caption, QByteArray word)
    : BindingWith(connection, std::move(caption), std::move(word), SendMode::transact()), m_combo(combo)
{
    nameForAccessibility(combo, m_caption);
    QObject::connect(combo, &QComboBox::activated, combo,
                     [this](int index) { whenIdle([this, index] { activated(index); }); });
}

ComboBinding& ComboBinding::values(QList<int> values)
{
    m_argument = Argument::Values;
    m_values = std::move(values);
    return *this;
}

ComboBinding& ComboBinding::itemText()
{
    m_argument = Argument::Text;
    return *this;
}

ComboBinding& ComboBinding::leadingNumber()
{
    m_argument = Argument::LeadingNumber;
    return *this;
}

ComboBinding& ComboBinding::itemData()
{
    m_argument = Argument::Data;
    return *this;
}

ComboBinding& ComboBinding::line(LineForValue composeFromIndex)
{
    m_compose = std::move(composeFromIndex);
    return *this;
}

QObject* ComboBinding::control() const
{
    return m_combo;
}

void ComboBinding::showReadBack(int value)
{
    switch (m_argument) {
    case Argument::Index:
        selectIndex(m_combo, value);
        return;
    case Argument::Values:
        if (!selectValue(m_combo, m_values, value))
            m_combo->setCurrentIndex(-1);
        return;
    case Argument::Data:
        m_combo->setCurrentIndex(m_combo->findData(value));
        return;
    case Argument::LeadingNumber:
        for (int i = 0; i < m_combo->count(); ++i) {
            const QByteArray text = m_combo->itemText(i).toLatin1();
            qsizetype pos = 0;
            int number = 0;
            if (scanDecimal(text, pos, number) && number == value) {
                m_combo->setCurrentIndex(i);
                return;
            }
        }
        m_combo->setCurrentIndex(-1);
        return;
    case Argument::Text:
        m_combo->setCurrentIndex(m_combo->findText(QString::number(value)));
        return;
    }
}

std::optional<int> ComboBinding::valueFor(int index, const QString& text) const
{
    if (m_compose)
        return index < 0 ? std::nullopt : std::optional(index);
    if (m_argument == Argument::LeadingNumber) {
        // Read from the text, which in an editable list may be the camera's
        // value rather than one of the items.
        const QByteArray latin = text.toLatin1();
        qsizetype pos = 0;
        int number = 0;
        return scanDecimal(latin, pos, number) ? std::optional(number) : std::nullopt;
    }
    if (index < 0)
        return std::nullopt;
    switch (m_argument) {
    case Argument::Index:
    case Argument::Text:
        return index;
    case Argument::Values:
        return index < m_values.size() ? std::optional(m_values.at(index)) : std::nullopt;
    case Argument::Data:
        return m_combo->itemData(index).toInt();
    case Argument::LeadingNumber:
        break;
    }
    return std::nullopt;
}

std::optional<QByteArray> ComboBinding::lineShowing(int index, const QString& text) const
{
    if (m_argument == Argument::Text && !m_compose) {
        // An editable list shows the camera's value in its edit field, which
        // need not be one of its items.
        const QString shown = text.trimmed();
        return shown.isEmpty() ? std::nullopt : std::optional(lineWith(shown.toLatin1()));
    }
    const std::optional<int> value = valueFor(index, text);
    if (!value)
        return std::nullopt;
    return m_compose ? m_compose(index) : std::optional(lineWith(*value));
}

std::optional<QByteArray> ComboBinding::composeSetting() const
{
    return lineShowing(m_combo->currentIndex(), m_combo->currentText());
}

std::optional<int> ComboBinding::shownValue() const
{
    return valueFor(m_combo->currentIndex(), m_combo->currentText());
}

void ComboBinding::activated(int index)
{
    if (index < 0)
        return;
    const QString text = m_combo->itemText(index);
    if (const std::optional<QByteArray> line = lineShowing(index, text))
        deliver(*line, valueFor(index, text).value_or(index));
}

// ---------------------------------------------------------------- CheckBinding

CheckBinding::CheckBinding(Connection& connection, QAbstractButton* box, QByteArray word)
    : BindingWith(connection, box->text(), std::move(word), SendMode::transact()), m_box(box)
{
    QObject::connect(box, &QAbstractButton::clicked, box, [this](bool checked) {
        whenIdle([this, checked] { clicked(checked); });
    });
}

CheckBinding& CheckBinding::values(int unchecked, int checked)
{
    m_unchecked = unchecked;
    m_checked = checked;
    return *this;
}

CheckBinding& CheckBinding::line(LineForValue compose)
{
    m_compose = std::move(compose);
    return *this;
}

QObject* CheckBinding::control() const
{
    return m_box;
}

void CheckBinding::showReadBack(int value)
{
    m_box->setChecked(value == m_checked);
}

std::optional<QByteArray> CheckBinding::composeSetting() const
{
    return lineFor(m_compose, *shownValue());
}

std::optional<int> CheckBinding::shownValue() const
{
    return m_box->isChecked() ? m_checked : m_unchecked;
}

void CheckBinding::clicked(bool checked)
{
    const int value = checked ? m_checked : m_unchecked;
    if (const std::optional<QByteArray> line = lineFor(m_compose, value))
        deliver(*line, value);
}

// ---------------------------------------------------------------- RadioBinding

RadioBinding::RadioBinding(Connection& connection, RadioGroup* group, QString caption, QByteArray word)
    : BindingWith(connection, std::move(caption), std::move(word), SendMode::transact()), m_group(group)
{
    QObject::connect(group, &RadioGroup::clicked, group, [this](QRadioButton* button) {
        const int value = m_group->valueOf(button);
        const bool checked = button->isChecked();
        whenIdle([this, value, checked] { clicked(value, checked); });
    });
}

RadioBinding& RadioBinding::zeroWhenUnchecked()
{
    m_zeroWhenUnchecked = true;
    return *this;
}

RadioBinding& RadioBinding::line(LineForValue compose)
{
    m_compose = std::move(compose);
    return *this;
}

QObject* RadioBinding::control() const
{
    return m_group;
}

void RadioBinding::showReadBack(int value)
{
    m_group->show(value);
}

std::optional<QByteArray> RadioBinding::composeSetting() const
{
    const std::optional<int> value = shownValue();
    return value ? lineFor(m_compose, *value) : std::nullopt;
}

std::optional<int> RadioBinding::shownValue() const
{
    constexpr int kNoneChecked = INT_MIN;
    const int value = m_group->checkedValue(kNoneChecked);
    return value == kNoneChecked ? std::nullopt : std::optional(value);
}

void RadioBinding::clicked(int value, bool checked)
{
    if (!checked) {
        if (!m_zeroWhenUnchecked)
            return;
        value = 0;
    }
    if (const std::optional<QByteArray> line = lineFor(m_compose, value))
        deliver(*line, value);
}

// ---------------------------------------------------------------- ButtonBinding

ButtonBinding::ButtonBinding(Connection& connection, QAbstractButton* button, QByteArray word)
    : BindingWith(connection, button->text(), std::move(word), SendMode::transact()), m_button(button)
{
    m_isSetting = false;
    QObject::connect(button, &QAbstractButton::clicked, button, [this] { whenIdle([this] { clicked(); }); });
}

ButtonBinding& ButtonBinding::argument(std::function<std::optional<int>()> argument)
{
    m_argument = std::move(argument);
    return *this;
}

ButtonBinding& ButtonBinding::disabledWhileSending()
{
    m_disabledWhileSending = true;
    return *this;
}

QObject* ButtonBinding::control() const
{
    return m_button;
}

void ButtonBinding::clicked()
{
    std::optional<int> value;
    if (m_argument) {
        value = m_argument();
        if (!value)
            return;
    }
    const QByteArray line = value ? lineWith(*value) : m_word;
    if (m_disabledWhileSending)
        m_button->setEnabled(false);
    deliver(line, value.value_or(0));
    if (m_disabledWhileSending)
        m_button->setEnabled(true);
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

// ---------------------------------------------------------------- SettingBinding

SettingBinding::SettingBinding(Connection& connection, QObject* control, QByteArray word,
                               std::function<std::optional<QByteArray>()> compose)
    : BindingWith(connection, QString(), std::move(word), SendMode::transact()), m_control(control),
      m_compose(std::move(compose))
{
}
