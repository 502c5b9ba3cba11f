#include "RadioGroup.h"

#include <QButtonGroup>
#include <QRadioButton>

RadioGroup::RadioGroup(QWidget* parent, const QList<std::pair<QString, int>>& choices)
    : QObject(parent), m_group(new QButtonGroup(this))
{
    for (const auto& [caption, value] : choices) {
        auto* button = new QRadioButton(caption, parent);
        m_group->addButton(button);
        m_buttons.append({button, value});
    }
    connect(m_group, &QButtonGroup::buttonClicked, this,
            [this](QAbstractButton* button) { emit clicked(static_cast<QRadioButton*>(button)); });
}

QRadioButton* RadioGroup::buttonFor(int value) const
{
    for (const auto& [button, buttonValue] : m_buttons) {
        if (buttonValue == value)
            return button;
    }
    return nullptr;
}

int RadioGroup::valueOf(const QRadioButton* button) const
{
    for (const auto& [candidate, value] : m_buttons) {
        if (candidate == button)
            return value;
    }
    return -1;
}

void RadioGroup::clear()
{
    m_group->setExclusive(false);
    for (const auto& entry : m_buttons)
        entry.first->setChecked(false);
    m_group->setExclusive(true);
}

void RadioGroup::show(int value)
{
    clear();
    if (QRadioButton* button = buttonFor(value))
        button->setChecked(true);
}

int RadioGroup::checkedValue(int fallback) const
{
    for (const auto& [button, value] : m_buttons) {
        if (button->isChecked())
            return value;
    }
    return fallback;
}

void RadioGroup::setEnabled(bool enabled)
{
    for (const auto& entry : m_buttons)
        entry.first->setEnabled(enabled);
}
