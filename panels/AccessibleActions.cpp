#include "AccessibleActions.h"

#include <QAbstractSlider>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QCheckBox>
#include <QRadioButton>

namespace {

// A caption's text as it is read: "&Save" is "Save", "Detect && Save" is
// "Detect & Save".
QString withoutMnemonic(const QString& caption)
{
    QString text;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == QLatin1Char('&') && i + 1 < caption.size())
            ++i;
        text += caption.at(i);
    }
    return text;
}

class AccessibleCheckable : public QAccessibleWidget {
public:
    explicit AccessibleCheckable(QAbstractButton* button)
        : QAccessibleWidget(button, qobject_cast<QRadioButton*>(button) ? QAccessible::RadioButton
                                                                          : QAccessible::CheckBox)
    {
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name && widget()->accessibleName().isEmpty())
            return withoutMnemonic(button()->text());
        return QAccessibleWidget::text(kind);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        const auto* box = qobject_cast<const QCheckBox*>(button());
        if (button()->isChecked())
            state.checked = true;
        else if (box && box->checkState() == Qt::PartiallyChecked)
            state.checkStateMixed = true;
        state.pressed = button()->isDown();
        return state;
    }

    QStringList actionNames() const override
    {
        QStringList names;
        if (widget()->isEnabled())
            names << toggleAction() << pressAction();
        return names + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override
    {
        if (action == toggleAction() || action == pressAction())
            button()->click(); // does nothing when disabled, as for the mouse
        else
            QAccessibleWidget::doAction(action);
    }

private:
    QAbstractButton* button() const { return static_cast<QAbstractButton*>(widget()); }
};

class AccessibleSlider : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit AccessibleSlider(QAbstractSlider* slider) : QAccessibleWidget(slider, QAccessible::Slider) {}

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Value)
            return QString::number(slider()->value());
        return QAccessibleWidget::text(kind);
    }

    QVariant currentValue() const override { return slider()->value(); }
    void setCurrentValue(const QVariant& value) override { dragTo(value.toInt()); }
    QVariant maximumValue() const override { return slider()->maximum(); }
    QVariant minimumValue() const override { return slider()->minimum(); }
    QVariant minimumStepSize() const override { return slider()->singleStep(); }

    QStringList actionNames() const override
    {
        QStringList names;
        if (widget()->isEnabled())
            names << increaseAction() << decreaseAction();
        return names + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override
    {
        if (action == increaseAction())
            dragTo(slider()->value() + slider()->singleStep());
        else if (action == decreaseAction())
            dragTo(slider()->value() - slider()->singleStep());
        else
            QAccessibleWidget::doAction(action);
    }

private:
    QAbstractSlider* slider() const { return static_cast<QAbstractSlider*>(widget()); }

    // The thumb taken, moved and let go: the notifications of a drag.
    void dragTo(int value)
    {
        QAbstractSlider* s = slider();
        if (!s->isEnabled())
            return;
        s->setSliderDown(true);
        s->setSliderPosition(value);
        s->setSliderDown(false);
    }
};

QAccessibleInterface* userActionInterface(const QString&, QObject* object)
{
    if (auto* slider = qobject_cast<QAbstractSlider*>(object); slider && slider->inherits("QSlider"))
        return new AccessibleSlider(slider);
    if (qobject_cast<QCheckBox*>(object) || qobject_cast<QRadioButton*>(object))
        return new AccessibleCheckable(static_cast<QAbstractButton*>(object));
    return nullptr;
}

} // namespace

void installAccessibleUserActions()
{
    static const bool installed = [] {
        QAccessible::installFactory(userActionInterface);
        return true;
    }();
    Q_UNUSED(installed);
}
