#include "LoadPlan.h"

#include "Bindings.h"
#include "Link.h"
#include "RadioGroup.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QComboBox>
#include <QWidget>

LoadPlan::LoadPlan(Connection& connection) : m_connection(connection) {}

LoadPlan& LoadPlan::step(std::function<void()> custom)
{
    m_steps.push_back(std::move(custom));
    return *this;
}

LoadPlan& LoadPlan::text(const QByteArray& command, QWidget* target, const QString& prefix)
{
    return step([this, command, target, prefix] {
        showText(target, prefix + QString::fromLatin1(QueryText(m_connection, command)));
    });
}

LoadPlan& LoadPlan::number(const QByteArray& command, QWidget* target, Format format)
{
    return step([this, command, target, format] { showText(target, format(QueryInt(m_connection, command))); });
}

LoadPlan& LoadPlan::number(const QByteArray& command, EditBinding& binding)
{
    return step([this, command, &binding] { binding.show(QueryInt(m_connection, command)); });
}

LoadPlan& LoadPlan::number(const QByteArray& command, SliderBinding& binding)
{
    return step([this, command, &binding] { binding.show(QueryInt(m_connection, command)); });
}

LoadPlan& LoadPlan::number(const QByteArray& command, std::function<void(int value)> apply)
{
    return step([this, command, apply] { apply(QueryInt(m_connection, command)); });
}

LoadPlan& LoadPlan::check(const QByteArray& command, QAbstractButton* box)
{
    return step([this, command, box] { showCheck(box, QueryInt(m_connection, command)); });
}

LoadPlan& LoadPlan::index(const QByteArray& command, QComboBox* combo)
{
    return step([this, command, combo] { selectIndex(combo, QueryInt(m_connection, command)); });
}

LoadPlan& LoadPlan::prefix(const QByteArray& command, QComboBox* combo, const char* format)
{
    return step([this, command, combo, format] {
        selectPrefix(combo, QString::asprintf(format, QueryInt(m_connection, command)));
    });
}

LoadPlan& LoadPlan::radios(const QByteArray& command, RadioGroup* group)
{
    return step([this, command, group] { group->show(QueryInt(m_connection, command)); });
}

LoadPlan& LoadPlan::optional(const QByteArray& command, QWidget* control, std::function<void(int value)> apply)
{
    return optional(
        command,
        [control, apply](int value) {
            control->setEnabled(true);
            apply(value);
        },
        [control] { control->setEnabled(false); });
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
