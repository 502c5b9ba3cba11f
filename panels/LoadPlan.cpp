#include "LoadPlan.h"

#include "Bindings.h"
#include "Link.h"
#include "RadioGroup.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QComboBox>
#include <QLineEdit>
#include <QWidget>

namespace {

void setAvailable(std::initializer_list<QWidget*> controls, bool available)
{
    for (QWidget* control : controls) {
        if (control)
            control->setEnabled(available);
    }
}

} // namespace

const QString LoadPlan::kNotAvailable = QStringLiteral("N/A");

LoadPlan::LoadPlan(Connection& connection) : m_connection(connection) {}

LoadPlan& LoadPlan::step(std::function<void()> custom)
{
    m_steps.push_back(std::move(custom));
    return *this;
}

LoadPlan& LoadPlan::fills(QObject* control)
{
    if (control && !m_steps.empty())
        m_filled.emplace_back(control, m_steps.size() - 1);
    return *this;
}

LoadPlan& LoadPlan::stepFilling(QObject* control, std::function<void()> read)
{
    return step(std::move(read)).fills(control);
}

bool LoadPlan::restore(QObject* control) const
{
    for (auto it = m_filled.rbegin(); it != m_filled.rend(); ++it) {
        if (it->first == control) {
            m_steps.at(it->second)();
            return true;
        }
    }
    return false;
}

LoadPlan& LoadPlan::text(const QByteArray& command, QWidget* target, const QString& prefix)
{
    return stepFilling(target, [this, command, target, prefix] {
        showText(target, prefix + QString::fromLatin1(QueryText(m_connection, command)));
    });
}

LoadPlan& LoadPlan::number(const QByteArray& command, QWidget* target, Format format)
{
    return stepFilling(target, [this, command, target, format] { showText(target, format(QueryInt(m_connection, command))); });
}

LoadPlan& LoadPlan::number(const QByteArray& command, EditBinding& binding)
{
    return stepFilling(binding.edit(), [this, command, &binding] { binding.show(QueryInt(m_connection, command)); });
}

LoadPlan& LoadPlan::number(const QByteArray& command, SliderBinding& binding)
{
    return stepFilling(binding.slider(), [this, command, &binding] { binding.show(QueryInt(m_connection, command)); });
}

LoadPlan& LoadPlan::number(const QByteArray& command, std::function<void(int value)> apply)
{
    return step([this, command, apply] { apply(QueryInt(m_connection, command)); });
}

LoadPlan& LoadPlan::check(const QByteArray& command, QAbstractButton* box)
{
    return stepFilling(box, [this, command, box] { showCheck(box, QueryInt(m_connection, command)); });
}

LoadPlan& LoadPlan::index(const QByteArray& command, QComboBox* combo)
{
    return stepFilling(combo, [this, command, combo] { selectIndex(combo, QueryInt(m_connection, command)); });
}

LoadPlan& LoadPlan::prefix(const QByteArray& command, QComboBox* combo, const char* format)
{
    return stepFilling(combo, [this, command, combo, format] {
        selectPrefix(combo, QString::asprintf(format, QueryInt(m_connection, command)));
    });
}

LoadPlan& LoadPlan::radios(const QByteArray& command, RadioGroup* group)
{
    return stepFilling(group, [this, command, group] { group->show(QueryInt(m_connection, command)); });
}

LoadPlan& LoadPlan::optional(const QByteArray& command, QWidget* control, std::function<void(int value)> apply)
{
    return optional(
               command,
               [control, apply](int value) {
                   control->setEnabled(true);
                   apply(value);
               },
               [control] { control->setEnabled(false); })
        .fills(control);
}

LoadPlan& LoadPlan::optional(const QByteArray& command, std::function<void(int value)> onSuccess,
                             std::function<void()> onFailure)
{
    return step([this, command, onSuccess, onFailure] {
        int value = 0;
        if (TryQueryInt(m_connection, command, value))
            onSuccess(value);
        else
            onFailure();
    });
}

LoadPlan& LoadPlan::optionalNumber(const QByteArray& command, EditBinding& binding)
{
    return optionalValue(command, binding.edit(), binding.pairedSlider(), [&binding](int value) { binding.show(value); });
}

LoadPlan& LoadPlan::optionalNumber(const QByteArray& command, SliderBinding& binding)
{
    return optionalValue(command, binding.pairedEdit(), binding.slider(), [&binding](int value) { binding.show(value); });
}

LoadPlan& LoadPlan::optionalValue(const QByteArray& command, QLineEdit* edit, QAbstractSlider* slider,
                                  std::function<void(int value)> show)
{
    return optional(
        command,
        [edit, slider, show](int value) {
            setAvailable({edit, slider}, true);
            show(value);
        },
        [edit, slider] {
            setAvailable({edit, slider}, false);
            if (edit)
                edit->setText(kNotAvailable);
        })
        .fills(edit)
        .fills(slider);
}

LoadPlan& LoadPlan::optionalCheck(const QByteArray& command, QAbstractButton* box)
{
    return optional(
        command,
        [box](int value) {
            box->setEnabled(true);
            showCheck(box, value);
        },
        [box] {
            box->setEnabled(false);
            box->setChecked(false);
        })
        .fills(box);
}

LoadPlan& LoadPlan::optionalIndex(const QByteArray& command, QComboBox* combo)
{
    return optional(command, combo, [combo](int index) { selectIndex(combo, index); });
}

LoadPlan& LoadPlan::choices(const QByteArray& name, QComboBox* combo)
{
    return step([this, name, combo] {
        QByteArrayList lines;
        QueryChoices(m_connection, name, lines);
        fillChoices(combo, lines);
    });
}

LoadPlan& LoadPlan::range(const QByteArray& name, QAbstractSlider* slider, std::function<void(int min, int max)> apply)
{
    return step([this, name, slider, apply] {
        int min = 0;
        int max = 0;
        int step = 0;
        QueryRange(m_connection, "HELP " + name, min, max, step);
        slider->setRange(min, max);
        if (apply)
            apply(min, max);
    });
}

LoadPlan& LoadPlan::rangeIfGiven(const QByteArray& name, QAbstractSlider* slider)
{
    return step([this, name, slider] {
        int min = 0;
        int max = 0;
        int step = 0;
        QueryRange(m_connection, "HELP " + name, min, max, step);
        // A failed query reads 0, 0, 0; no camera gives that as a range.
        const bool given = (min != 0 || max != 0 || step != 0) && min <= max;
        if (given)
            slider->setRange(min, max);
    });
}

LoadPlan& LoadPlan::numbered(const QByteArray& name, QList<QComboBox*> lists, const char* format,
                             std::function<void(int max)> apply)
{
    return step([this, name, lists, format, apply] {
        int min = 0;
        int max = 0;
        int step = 0;
        QueryRange(m_connection, "HELP " + name, min, max, step);
        max = qBound(0, max, kMaxNumberedItems - 1);
        for (QComboBox* list : lists) {
            list->clear();
            for (int i = 0; i <= max; ++i)
                list->addItem(QString::asprintf(format, i));
        }
        if (apply)
            apply(max);
    });
}

void LoadPlan::run() const
{
    for (const auto& step : m_steps)
        step();
}
