// Every control bound to a camera setting, on every page of every simulated
// model, as the whole panel builds it: the setting holds what the camera
// reports, the control sends "<word> <value>" for it, and when the camera
// refuses, the control shows the camera's value again and the reason is told.

#include "ControlBindings.h"
#include "PageTesting.h"
#include "RadioGroup.h"
#include "SimPanelTest.h"

#include <QAbstractSlider>
#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

#include <gtest/gtest.h>

namespace {

// What a control shows, to compare before and after it is shown its setting again.
QString stateOf(const Binding& binding)
{
    QObject* control = binding.control();
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        return edit->text();
    if (auto* box = qobject_cast<QCheckBox*>(control))
        return QString::number(box->checkState());
    if (auto* combo = qobject_cast<QComboBox*>(control))
        return QStringLiteral("%1 %2").arg(combo->currentIndex()).arg(combo->currentText());
    if (auto* slider = qobject_cast<QAbstractSlider*>(control))
        return QString::number(slider->value());
    if (auto* group = qobject_cast<RadioGroup*>(control))
        return QString::number(group->checkedValue());
    return {};
}

// The user's gesture on the control: the value it shows now sent again, or
// (other) a value it does not show. False when the control has no such gesture.
bool act(const Binding& binding, bool other)
{
    QObject* control = binding.control();
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        bool isNumber = false;
        const int shown = edit->text().toInt(&isNumber);
        if (other && !isNumber)
            return false;
        typeAndEnter(edit, other ? QString::number(shown == 0 ? 1 : shown - 1) : edit->text());
        return true;
    }
    if (auto* box = qobject_cast<QCheckBox*>(control)) {
        box->click();
        return true;
    }
    if (auto* combo = qobject_cast<QComboBox*>(control)) {
        const int index = combo->currentIndex();
        if (index < 0 || (other && combo->count() < 2))
            return false;
        choose(combo, other ? (index + 1) % combo->count() : index);
        return true;
    }
    if (auto* slider = qobject_cast<QSlider*>(control)) {
        const int to = other ? (slider->value() == slider->minimum() ? slider->maximum() : slider->minimum()) : slider->value();
        if (other && to == slider->value())
            return false;
        drag(slider, {to});
        return true;
    }
    if (auto* group = qobject_cast<RadioGroup*>(control)) {
        const int checked = group->checkedValue();
        for (int i = 0; i < group->count(); ++i) {
            QRadioButton* button = group->button(i);
            if ((group->valueOf(button) == checked) != other) {
                button->click();
                return true;
            }
        }
    }
    return false;
}

// What a screen reader or test tool does instead: a Toggle on an unchecked
// box or radio button, a value set on a slider (its other end).
bool actAccessibly(const Binding& binding)
{
    QObject* control = binding.control();
    if (auto* group = qobject_cast<RadioGroup*>(control)) {
        for (int i = 0; i < group->count() && control == group; ++i) {
            if (!group->button(i)->isChecked())
                control = group->button(i);
        }
    }
    QAccessibleInterface* node = QAccessible::queryAccessibleInterface(control);
    if (auto* slider = qobject_cast<QSlider*>(control)) {
        const int to = slider->value() == slider->minimum() ? slider->maximum() : slider->minimum();
        if (to == slider->value())
            return false;
        node->valueInterface()->setCurrentValue(to);
        return true;
    }
    if (!qobject_cast<QCheckBox*>(control) && !qobject_cast<QRadioButton*>(control))
        return false;
    node->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    return true;
}

// The controls Tab reaches on a page, in the order it reaches them.
QList<QWidget*> tabOrderOf(QWidget* page)
{
    QList<QWidget*> order;
    for (QWidget* w = page->nextInFocusChain(); w && w != page; w = w->nextInFocusChain()) {
        if (page->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(page) && !w->focusProxy())
            order << w;
    }
    return order;
}

bool sendsItsSetting(const Binding& binding)
{
    const Setting* setting = binding.setting();
    QWidget* widget = qobject_cast<QWidget*>(binding.control());
    return setting && setting->isSaved() && setting->isKnown() && widget && widget->isEnabled()
           && !dynamic_cast<const ReadoutBinding*>(&binding) && !dynamic_cast<const NumberedListsBinding*>(&binding);
}

class EverySetting : public SimPanelTest {
protected:
    EverySetting() { openPanel(); }
};

} // namespace

TEST_P(EverySetting, IsReadSentFromItsControlAndRestoredWithTheReasonWhenRefused)
{
    QList<std::pair<QByteArray, QString>> refusals;
    QObject::connect(&sendPath, &SendPath::refused,
                     [&](const QByteArray& line, const QString& reason) { refusals.append({line, reason}); });

    int exercised = 0;
    for (int tab = 0; tab < panel->pageCount(); ++tab) {
        Page* page = panel->page(tab);
        panel->tabs()->setCurrentIndex(tab);
        for (const Binding* binding : page->bindings().all()) {
            if (!sendsItsSetting(*binding))
                continue;
            Setting& setting = *binding->setting();
            const std::string name = (page->pageSettings().title() + ' ' + binding->caption()).toStdString();
            // Read in its place: the setting holds what the camera reports.
            EXPECT_EQ(setting.value().simplified(), cameraValue(setting)) << name;
            sentAfterwards();

            // Sent from its control: the line of the value the setting then
            // holds (the camera may refuse it for reasons of its own: a
            // switch that needs something else set first).
            refusals.clear();
            if (!act(*binding, false))
                continue;
            const QByteArrayList lines = sentAfterwards();
            if (lines.isEmpty())
                continue; // a control that asks first and declined (a mode the camera is not in)
            QByteArray expected = setting.lineFor(refusals.isEmpty() ? setting.value() : QByteArray());
            while (expected.endsWith('\r'))
                expected.chop(1);
            EXPECT_EQ(refusals.isEmpty() ? lines.first() : lines.first().left(expected.size()), expected) << name;
            ++exercised;
            if (qobject_cast<QCheckBox*>(binding->control()) && refusals.isEmpty()) {
                act(*binding, false); // the box back as it was
                sentAfterwards();
            }

            // Refused: the camera's value is shown again, with its reason.
            const QString before = stateOf(*binding);
            const QString word = QString::fromLatin1(setting.word().simplified().split(' ').first());
            camera->refuseChangesOf(word);
            refusals.clear();
            if (act(*binding, true)) {
                sentAfterwards();
                EXPECT_EQ(setting.value().simplified(), cameraValue(setting)) << name;
                EXPECT_EQ(stateOf(*binding), before) << name;
                ASSERT_FALSE(refusals.isEmpty()) << name;
                EXPECT_EQ(refusals.last().second, QStringLiteral("Refused")) << name;
            }
            camera->allowCommand(word);
        }
    }
    // Far more than a handful: the table did not pass by skipping everything.
    EXPECT_GT(exercised, 60);
    EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join('\n').toStdString();
}

TEST_P(EverySetting, AnAccessibilityToggleOrValueSendsAsAClickOrADragDoes)
{
    QList<std::pair<QByteArray, QString>> refusals;
    QObject::connect(&sendPath, &SendPath::refused,
                     [&](const QByteArray& line, const QString& reason) { refusals.append({line, reason}); });
    int exercised = 0;
    for (int tab = 0; tab < panel->pageCount(); ++tab) {
        panel->tabs()->setCurrentIndex(tab);
        for (const Binding* binding : panel->page(tab)->bindings().all()) {
            if (!sendsItsSetting(*binding))
                continue;
            const Setting& setting = *binding->setting();
            const std::string name = (panel->page(tab)->pageSettings().title() + ' ' + binding->caption()).toStdString();
            sentAfterwards();
            refusals.clear();
            if (!actAccessibly(*binding))
                continue;
            const QByteArrayList lines = sentAfterwards();
            ASSERT_FALSE(lines.isEmpty()) << name;
            QByteArray expected = setting.lineFor(refusals.isEmpty() ? setting.value() : QByteArray());
            while (expected.endsWith('\r'))
                expected.chop(1);
            EXPECT_EQ(refusals.isEmpty() ? lines.first() : lines.first().left(expected.size()), expected) << name;
            ++exercised;
        }
    }
    EXPECT_GT(exercised, 5);
}

TEST_P(EverySetting, TabFollowsWhatTheEyeSeesAndNeverGoesBackUpOrLeftWithinAColumn)
{
    panel->show();
    for (int tab = 0; tab < panel->pageCount(); ++tab) {
        panel->tabs()->setCurrentIndex(tab);
        Page* page = panel->page(tab);
        const QList<QWidget*> order = tabOrderOf(page);
        for (qsizetype i = 1; i < order.size(); ++i) {
            const QRect a(order[i - 1]->mapTo(page, QPoint()), order[i - 1]->size());
            const QRect b(order[i]->mapTo(page, QPoint()), order[i]->size());
            // Up is allowed only into a column further right; left only onto a lower line.
            const bool backUp = b.bottom() < a.top() && b.left() <= a.right();
            const bool backLeft = b.right() < a.left() && b.top() <= a.bottom() && b.bottom() >= a.top();
            const auto named = [](const QWidget* w) {
                return (w->accessibleName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->accessibleName())
                    .toStdString();
            };
            EXPECT_FALSE(backUp || backLeft)
                << page->pageSettings().title().toStdString() << ": " << named(order[i - 1]) << " then " << named(order[i]);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Models, EverySetting,
                         ::testing::Values("PTM-TW640", "PTM-TW640M", "PTM-R560CL", "PTM-R290CL", "PTM-R140ML",
                                           "PTM-R140MLF"),
                         modelTestName);
