#include "ControlBindings.h"

#include "Controls.h"
#include "Link.h"
#include "PageSettings.h"
#include "RadioGroup.h"
#include "Scan.h"
#include "SendPath.h"
#include "Setting.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

#include <climits>

namespace {

// Greys a control out while its setting is unavailable, and gives it back
// when the setting returns; a control the page disabled itself is left so.
void followAvailability(QWidget* control, const Setting& setting, bool& disabledHere)
{
    if (setting.isUnavailable()) {
        if (control->isEnabled()) {
            control->setEnabled(false);
            disabledHere = true;
        }
    } else if (disabledHere) {
        control->setEnabled(true);
        disabledHere = false;
    }
}

QString numberText(const Setting& setting)
{
    if (const std::optional<int> number = setting.number())
        return QString::number(*number);
    return QString::fromLatin1(setting.value());
}

} // namespace

// ---------------------------------------------------------------- EditBinding

EditBinding::EditBinding(SendPath& path, QLineEdit* edit, Setting& setting, QString caption)
    : BindingWith(path, &setting, std::move(caption)), m_edit(edit), m_min(INT_MIN), m_max(INT_MAX)
{
    nameForAccessibility(edit, m_caption);
    QObject::connect(edit, &QLineEdit::returnPressed, edit, [this] { whenIdle([this] { enter(); }); });
    QObject::connect(edit, &QLineEdit::textEdited, edit, [this] { markInvalid(false); });
    followSetting();
}

EditBinding& EditBinding::accept(int min, int max)
{
    m_min = min;
    m_max = max;
    refreshToolTip();
    return *this;
}

EditBinding& EditBinding::scaled(double factor, const char* format)
{
    m_factor = factor;
    m_format = format;
    showSetting();
    return *this;
}

EditBinding& EditBinding::text()
{
    m_text = true;
    // A line to the camera ends at a carriage return; no control character
    // may reach it from a text field.
    acceptPrintableTextOnly(m_edit);
    showSetting();
    return *this;
}

EditBinding& EditBinding::onEnter(std::function<void()> handler)
{
    m_onEnter = std::move(handler);
    return *this;
}

QObject* EditBinding::control() const
{
    return m_edit;
}

std::optional<QByteArray> EditBinding::argumentFor(const QString& text, QString& why) const
{
    if (m_text)
        return text.toLatin1();
    if (m_factor != 0.0) {
        if (const std::optional<int> scaledValue = readScaled(text, m_factor))
            return QByteArray::number(*scaledValue);
        why = QStringLiteral("%1: \"%2\" is not a number that fits the camera's range").arg(m_caption, text);
        return std::nullopt;
    }
    if (const std::optional<int> value = readWholeNumber(text, m_min, m_max))
        return QByteArray::number(*value);
    why = QStringLiteral("%1: %2; nothing sent").arg(m_caption, whyNotWholeNumber(text, m_min, m_max));
    return std::nullopt;
}

void EditBinding::enter()
{
    if (m_onEnter) {
        m_onEnter();
        return;
    }
    QString why;
    const std::optional<QByteArray> argument = argumentFor(m_edit->text(), why);
    if (!argument) {
        markInvalid(true);
        m_path.rejectInput(why);
        return;
    }
    markInvalid(false);
    bool ok = false;
    const int value = argument->toInt(&ok);
    deliver(*argument, ok ? value : 0);
}

QString EditBinding::controlRange() const
{
    // A scaled edit's limits are the 32-bit range of what it sends.
    if (m_text || m_factor != 0.0 || (m_min == INT_MIN && m_max == INT_MAX))
        return {};
    return QStringLiteral("%1 to %2").arg(m_min).arg(m_max);
}

void EditBinding::markInvalid(bool invalid)
{
    markInvalidInput(m_edit, invalid);
}

void EditBinding::showSetting()
{
    const Setting& setting = *m_setting;
    followAvailability(m_edit, setting, m_disabledAsUnavailable);
    markInvalid(false);
    switch (setting.state()) {
    case Setting::State::Known:
        m_edit->setPlaceholderText(QString());
        if (m_text)
            m_edit->setText(QString::fromLatin1(setting.value()));
        else if (m_factor != 0.0 && setting.number())
            m_edit->setText(QString::asprintf(m_format, *setting.number() / m_factor));
        else
            m_edit->setText(numberText(setting));
        break;
    case Setting::State::NotRead:
        m_edit->clear();
        m_edit->setPlaceholderText(kNotRead);
        break;
    case Setting::State::Unavailable:
        m_edit->setPlaceholderText(QString());
        m_edit->setText(kNotAvailable);
        break;
    }
}

// ---------------------------------------------------------------- SliderBinding

SliderBinding::SliderBinding(SendPath& path, QAbstractSlider* slider, Setting& setting, QString caption)
    : BindingWith(path, &setting, std::move(caption)), m_slider(slider), m_notifier(new SliderNotifier(slider))
{
    m_mode = SendMode::line();
    nameSliderForAccessibility(slider, m_caption);
    QObject::connect(m_notifier, &SliderNotifier::notified, m_notifier, [this](SliderNotification kind, int position) {
        whenIdle([this, kind, position] { notified(kind, position); });
    });
    followSetting();
}

SliderBinding& SliderBinding::on(SliderNotifications kinds)
{
    m_kinds = kinds;
    return *this;
}

SliderBinding& SliderBinding::rangeFromCamera(bool keepWhenAbsent)
{
    const auto takeRange = [this, keepWhenAbsent] {
        if (const auto& range = m_setting->range())
            m_slider->setRange(range->min, range->max);
        else if (!keepWhenAbsent)
            m_slider->setRange(0, 0);
        // The range may have moved the slider; it shows the value again.
        refresh();
    };
    QObject::connect(m_setting, &Setting::rangeChanged, receiver(), takeRange);
    // A page built after its settings were read gets the range now.
    if (m_setting->range())
        takeRange();
    return *this;
}

SliderBinding& SliderBinding::readout(QWidget* target, Format format)
{
    m_readout = target;
    m_readoutFormat = std::move(format);
    return *this;
}

QObject* SliderBinding::control() const
{
    return m_slider;
}

QString SliderBinding::controlRange() const
{
    return QStringLiteral("%1 to %2").arg(m_slider->minimum()).arg(m_slider->maximum());
}

void SliderBinding::notified(SliderNotification kind, int position)
{
    if (!m_kinds.testFlag(kind))
        return;
    if (m_readout) {
        const QString text = m_readoutFormat(position);
        if (!text.isNull())
            showText(m_readout, text);
    }
    deliver(position);
}

void SliderBinding::showSetting()
{
    followAvailability(m_slider, *m_setting, m_disabledAsUnavailable);
    // A value outside the slider's range shows at its end; the setting keeps
    // the camera's value.
    if (const std::optional<int> value = m_setting->number())
        m_slider->setValue(*value);
}

// ---------------------------------------------------------------- ComboBinding

ComboBinding::ComboBinding(SendPath& path, QComboBox* combo, Setting& setting, QString caption)
    : BindingWith(path, &setting, std::move(caption)), m_combo(combo)
{
    nameForAccessibility(combo, m_caption);
    QObject::connect(combo, &QComboBox::activated, combo,
                     [this](int index) { whenIdle([this, index] { activated(index); }); });
    followSetting();
}

ComboBinding& ComboBinding::values(QList<int> values)
{
    m_argument = Argument::Values;
    m_values = std::move(values);
    showSetting();
    return *this;
}

ComboBinding& ComboBinding::itemText()
{
    m_argument = Argument::Text;
    showSetting();
    return *this;
}

ComboBinding& ComboBinding::leadingNumber(const char* format)
{
    m_argument = Argument::LeadingNumber;
    m_prefixFormat = format;
    showSetting();
    return *this;
}

ComboBinding& ComboBinding::itemData()
{
    m_argument = Argument::Data;
    showSetting();
    return *this;
}

ComboBinding& ComboBinding::choicesFromCamera()
{
    const auto takeChoices = [this] {
        fillChoices(m_combo, m_setting->choices());
        refresh();
    };
    QObject::connect(m_setting, &Setting::choicesChanged, receiver(), takeChoices);
    // A page built after its settings were read gets the choices now.
    if (!m_setting->choices().isEmpty())
        takeChoices();
    return *this;
}

ComboBinding& ComboBinding::onActivated(std::function<void(int index)> handler)
{
    m_onActivated = std::move(handler);
    return *this;
}

QObject* ComboBinding::control() const
{
    return m_combo;
}

QString ComboBinding::controlRange() const
{
    QList<int> values;
    for (int index = 0; index < m_combo->count(); ++index) {
        const QString text = m_combo->itemText(index);
        bool isNumber = true;
        const std::optional<int> value =
            m_argument == Argument::Text ? text.trimmed().toInt(&isNumber) : valueFor(index, text);
        if (value && isNumber)
            values << *value;
    }
    return valuesText(values);
}

void ComboBinding::select(int value)
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
        // A list of presets picks nothing by itself; once the user has
        // picked, it shows the preset of the camera's value, if any.
        if (m_combo->currentIndex() >= 0)
            m_combo->setCurrentIndex(m_combo->findData(value));
        return;
    case Argument::LeadingNumber:
        selectPrefix(m_combo, QString::asprintf(m_prefixFormat, value));
        return;
    case Argument::Text:
        break;
    }
}

void ComboBinding::showSetting()
{
    const Setting& setting = *m_setting;
    followAvailability(m_combo, setting, m_disabledAsUnavailable);
    if (setting.isUnavailable())
        return;
    if (!setting.isKnown()) {
        m_combo->setCurrentIndex(-1);
        if (m_combo->isEditable())
            m_combo->setEditText(QString());
        return;
    }
    if (m_argument == Argument::Text) {
        const QString text = numberText(setting);
        // An editable list shows the camera's value in its edit field, which
        // need not be one of its items; its current item is the value's, if any.
        m_combo->setCurrentIndex(m_combo->findText(text));
        if (m_combo->isEditable())
            m_combo->setEditText(text);
        return;
    }
    if (const std::optional<int> value = setting.number())
        select(*value);
    else
        m_combo->setCurrentIndex(-1);
}

std::optional<int> ComboBinding::valueFor(int index, const QString& text) const
{
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
        return index;
    case Argument::Values:
        return index < m_values.size() ? std::optional(m_values.at(index)) : std::nullopt;
    case Argument::Data:
        return m_combo->itemData(index).toInt();
    case Argument::Text:
    case Argument::LeadingNumber:
        break;
    }
    return std::nullopt;
}

void ComboBinding::activated(int index)
{
    if (index < 0)
        return;
    if (m_onActivated) {
        m_onActivated(index);
        return;
    }
    const QString text = m_combo->itemText(index);
    if (m_argument == Argument::Text) {
        const QString shown = text.trimmed();
        if (!shown.isEmpty()) {
            bool ok = false;
            const int value = shown.toInt(&ok);
            deliver(shown.toLatin1(), ok ? value : 0);
        }
        return;
    }
    if (const std::optional<int> value = valueFor(index, text))
        deliver(*value);
}

// ---------------------------------------------------------------- CheckBinding

CheckBinding::CheckBinding(SendPath& path, QAbstractButton* box, Setting& setting)
    : BindingWith(path, &setting, box->text()), m_box(box)
{
    QObject::connect(box, &QAbstractButton::clicked, box, [this](bool checked) {
        whenIdle([this, checked] { clicked(checked); });
    });
    followSetting();
}

CheckBinding& CheckBinding::values(int unchecked, int checked)
{
    m_unchecked = unchecked;
    m_checked = checked;
    showSetting();
    return *this;
}

QObject* CheckBinding::control() const
{
    return m_box;
}

QString CheckBinding::controlRange() const
{
    return QStringLiteral("%1 (unchecked) or %2 (checked)").arg(m_unchecked).arg(m_checked);
}

void CheckBinding::showSetting()
{
    const Setting& setting = *m_setting;
    followAvailability(m_box, setting, m_disabledAsUnavailable);
    const bool on = setting.number() == m_checked;
    if (auto* box = qobject_cast<QCheckBox*>(m_box)) {
        const bool notRead = !setting.isKnown() && !setting.isUnavailable();
        showCheckOrNotRead(box, notRead ? std::nullopt : std::optional<bool>(on));
        return;
    }
    m_box->setChecked(on);
}

void CheckBinding::clicked(bool checked)
{
    if (auto* tristate = qobject_cast<QCheckBox*>(m_box)) {
        // A click on a box shown as not read means "on".
        if (tristate->checkState() == Qt::PartiallyChecked)
            checked = true;
        tristate->setTristate(false);
    }
    deliver(checked ? m_checked : m_unchecked);
}

// ---------------------------------------------------------------- RadioBinding

RadioBinding::RadioBinding(SendPath& path, RadioGroup* group, Setting& setting, QString caption)
    : BindingWith(path, &setting, std::move(caption)), m_group(group)
{
    QObject::connect(group, &RadioGroup::clicked, group, [this](QRadioButton* button) {
        const int value = m_group->valueOf(button);
        const bool checked = button->isChecked();
        whenIdle([this, value, checked] { clicked(value, checked); });
    });
    followSetting();
}

RadioBinding& RadioBinding::zeroWhenUnchecked()
{
    m_zeroWhenUnchecked = true;
    return *this;
}

QObject* RadioBinding::control() const
{
    return m_group;
}

QList<QWidget*> RadioBinding::widgets() const
{
    QList<QWidget*> buttons;
    for (int index = 0; index < m_group->count(); ++index)
        buttons << m_group->button(index);
    return buttons;
}

QString RadioBinding::controlRange() const
{
    QStringList values;
    for (int index = 0; index < m_group->count(); ++index) {
        QRadioButton* button = m_group->button(index);
        values << QStringLiteral("%1 (%2)").arg(m_group->valueOf(button)).arg(button->text().remove(QLatin1Char('&')));
    }
    return listedWithOr(values);
}

void RadioBinding::showSetting()
{
    if (const std::optional<int> value = m_setting->number())
        m_group->show(*value);
    else
        m_group->clear();
    m_group->setEnabled(!m_setting->isUnavailable());
}

void RadioBinding::clicked(int value, bool checked)
{
    if (!checked) {
        if (!m_zeroWhenUnchecked)
            return;
        value = 0;
    }
    deliver(value);
}
