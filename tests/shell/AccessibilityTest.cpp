#include "SendPath.h"
#include "CameraLinkDlg.h"
#include "CapturedMessages.h"
#include "ControlPanel.h"
#include "ControlPanelBrevo.h"
#include "ControlPanelTovane.h"
#include "Page.h"
#include "QtPrinters.h"
#include "SerialPortDlg.h"
#include "SettingSearch.h"
#include "SimulatedCameras.h"
#include "TerminalDlg.h"

#include <QAbstractButton>
#include <algorithm>
#include <QAccessible>
#include <QLineEdit>
#include <QTest>
#include <QTabWidget>

#include <gtest/gtest.h>

// Every control is findable by the words the user sees beside it: test teams
// and screen readers reach the tool through the accessibility interface.
namespace {

struct NamedControl {
    QString name;
    QAccessible::Role role;
    QWidget* widget;
};

bool isInteractive(QAccessible::Role role)
{
    switch (role) {
    case QAccessible::PushButton:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ComboBox:
    case QAccessible::EditableText:
    case QAccessible::Slider:
    case QAccessible::SpinBox:
    case QAccessible::List:
    case QAccessible::Tree:
    case QAccessible::Table:
        return true;
    default:
        return false;
    }
}

// The name a test tool finds a control by. Qt on Linux reports a combo
// box's current text as its name and points to the words beside it through
// the labelled-by relation, which is how such tools find it.
QString nameOf(QAccessibleInterface* node)
{
    if (node->role() != QAccessible::ComboBox)
        return node->text(QAccessible::Name).trimmed();
    if (auto* widget = qobject_cast<QWidget*>(node->object()); widget && !widget->accessibleName().isEmpty())
        return widget->accessibleName().trimmed();
    const auto labels = node->relations(QAccessible::Label);
    return labels.isEmpty() ? QString() : labels.first().first->text(QAccessible::Name).trimmed();
}

// The enabled, visible interactive controls below an interface, in tree
// order, and the rows of lists and tables (named by their first cell). The
// parts inside a control (a combo box's edit field) are the control's own
// and are not listed.
void collect(QAccessibleInterface* node, QList<NamedControl>& controls)
{
    if (!node || node->state().invisible)
        return;
    if (isInteractive(node->role())) {
        if (node->state().disabled)
            return;
        auto* widget = qobject_cast<QWidget*>(node->object());
        controls.append({nameOf(node), node->role(), widget});
        if (QAccessibleTableInterface* table = node->tableInterface()) {
            for (int row = 0; row < table->rowCount(); ++row) {
                QAccessibleInterface* cell = table->cellAt(row, 0);
                controls.append({cell ? nameOf(cell) : QString(), QAccessible::Row, widget});
            }
        }
        return;
    }
    for (int i = 0; i < node->childCount(); ++i)
        collect(node->child(i), controls);
}

QList<NamedControl> controlsOf(QWidget* widget)
{
    QList<NamedControl> controls;
    collect(QAccessible::queryAccessibleInterface(widget), controls);
    return controls;
}

// Every control has a name and no two share one.
void expectNamedAndDistinct(const QList<NamedControl>& controls, const QString& where)
{
    QMap<QString, int> seen;
    for (const NamedControl& control : controls) {
        EXPECT_FALSE(control.name.isEmpty())
            << where.toStdString() << ": unnamed control " << control.widget->metaObject()->className() << " "
            << control.widget->objectName().toStdString();
        if (!control.name.isEmpty())
            ++seen[control.name];
    }
    for (auto it = seen.cbegin(); it != seen.cend(); ++it)
        EXPECT_EQ(it.value(), 1) << where.toStdString() << ": name shared: " << it.key().toStdString();
}

// The widgets the Tab key visits below a page, in the order it visits them.
QList<QWidget*> tabOrder(QWidget* page)
{
    QList<QWidget*> order;
    QWidget* widget = page;
    for (int steps = 0; steps < 2000; ++steps) {
        widget = widget->nextInFocusChain();
        if (widget == page)
            break;
        if (page->isAncestorOf(widget) && widget->isVisible() && widget->isEnabled()
            && (widget->focusPolicy() & Qt::TabFocus) && !widget->focusProxy())
            order.append(widget);
    }
    return order;
}

// Within one group, Tab goes left to right along a row and then down; a
// step up is allowed only into the next column (fields stacked in a cell).
void expectReadingOrder(QWidget* page, const QString& where)
{
    const QList<QWidget*> order = tabOrder(page);
    for (qsizetype i = 1; i < order.size(); ++i) {
        QWidget* a = order.at(i - 1);
        QWidget* b = order.at(i);
        if (a->parentWidget() != b->parentWidget())
            continue;
        const QRect ra(a->mapTo(page, QPoint(0, 0)), a->size());
        const QRect rb(b->mapTo(page, QPoint(0, 0)), b->size());
        const bool sameRow = rb.top() < ra.bottom() && ra.top() < rb.bottom();
        const bool inOrder = sameRow ? rb.center().x() > ra.center().x()
                                     : rb.top() >= ra.bottom() || rb.left() >= ra.right();
        EXPECT_TRUE(inOrder) << where.toStdString() << ": Tab goes from \"" << a->accessibleName().toStdString()
                             << "\" back to \"" << b->accessibleName().toStdString() << "\"";
    }
}

class AccessibilityTest : public ::testing::TestWithParam<QString> {
protected:
    ControlPanel* openPanel(CCameraLinkDlg& window)
    {
        const QString port = SimulatedCameras::portOf(GetParam());
        window.setPortChooser([port](const QString&, qint32) { return std::optional<PortChoice>({port, 9600}); });
        window.OnInitDialog();
        ControlPanel* panel = window.brevoPanel() ? static_cast<ControlPanel*>(window.brevoPanel())
                                                  : static_cast<ControlPanel*>(window.tovanePanel());
        if (panel)
            panel->show();
        return panel;
    }

    SimulatedCameras cameras;
    CapturedMessages messages;
};

} // namespace

TEST_P(AccessibilityTest, EveryControlOfEveryPageHasItsOwnName)
{
    CCameraLinkDlg window(cameras.clock);
    ControlPanel* panel = openPanel(window);
    ASSERT_NE(panel, nullptr);
    for (int tab = 0; tab < panel->tabs()->count(); ++tab) {
        panel->tabs()->setCurrentIndex(tab);
        EXPECT_FALSE(controlsOf(panel->page(tab)).isEmpty()) << panel->tabs()->tabText(tab).toStdString();
        expectNamedAndDistinct(controlsOf(panel), GetParam() + " " + panel->tabs()->tabText(tab));
    }
    // The panel while its search lists each page's settings.
    for (int tab = 0; tab < panel->tabs()->count(); ++tab) {
        panel->search()->field()->setText(panel->tabs()->tabText(tab));
        const QList<NamedControl> controls = controlsOf(panel);
        expectNamedAndDistinct(controls, GetParam() + " searching " + panel->tabs()->tabText(tab));
        const auto rows = std::ranges::count(controls, QAccessible::Row, &NamedControl::role);
        EXPECT_EQ(rows, panel->search()->hits().size()) << panel->tabs()->tabText(tab).toStdString();
    }
    panel->search()->field()->clear();
    // The Brevo gain page shows a group per tap once switched to individual
    // control; the groups' controls share their row captions.
    for (int tab = 0; tab < panel->tabs()->count(); ++tab) {
        for (QAbstractButton* button : panel->page(tab)->findChildren<QAbstractButton*>()) {
            if (button->text() == "Individual Control" && button->isVisible()) {
                panel->tabs()->setCurrentIndex(tab);
                button->click();
                expectNamedAndDistinct(controlsOf(panel->page(tab)), GetParam() + " individual gains");
            }
        }
    }
    window.close();
}

TEST_P(AccessibilityTest, TabFollowsReadingOrderOnEveryPage)
{
    CCameraLinkDlg window(cameras.clock);
    ControlPanel* panel = openPanel(window);
    ASSERT_NE(panel, nullptr);
    for (int tab = 0; tab < panel->tabs()->count(); ++tab) {
        panel->tabs()->setCurrentIndex(tab);
        expectReadingOrder(panel->page(tab), GetParam() + " " + panel->tabs()->tabText(tab));
    }
    window.close();
}

INSTANTIATE_TEST_SUITE_P(EachFamilyAndVariant, AccessibilityTest,
                         ::testing::Values("PTM-TW640", "PTM-TW640M", "PTM-R560CL", "PTM-R290CL", "PTM-R140ML",
                                           "PTM-R140MLF"),
                         [](const auto& info) {
                             QString name = info.param;
                             return name.remove('-').toStdString();
                         });

TEST(ShellAccessibility, ThePortDialogAndTheTerminalNameTheirControls)
{
    SimulatedCameras cameras;
    CSerialPortDlg dialog("", 38400);
    dialog.show();
    const QList<NamedControl> dialogControls = controlsOf(&dialog);
    expectNamedAndDistinct(dialogControls, "Serial Port Setting");
    QStringList names;
    for (const NamedControl& control : dialogControls)
        names << control.name;
    EXPECT_EQ(names, (QStringList{"PortName", "Baudrate", "OK", "Cancel"}));

    Connection connection(cameras.clock);
    SendPath sendPath(connection);
    CTerminalDlg terminal(sendPath);
    terminal.show();
    const QList<NamedControl> terminalControls = controlsOf(&terminal);
    expectNamedAndDistinct(terminalControls, "Terminal");
    names.clear();
    for (const NamedControl& control : terminalControls)
        names << control.name;
    EXPECT_TRUE(names.contains("Command"));
    EXPECT_TRUE(names.contains("Close"));
}

TEST(ShellAccessibility, APageCanBeDrivenThroughItsAccessibleInterfaceAlone)
{
    SimulatedCameras cameras;
    CapturedMessages messages;
    CCameraLinkDlg window(cameras.clock);
    window.setPortChooser([](const QString&, qint32) {
        return std::optional<PortChoice>({SimulatedCameras::portOf("PTM-TW640"), 9600});
    });
    window.OnInitDialog();
    ControlPanel* panel = window.tovanePanel();
    ASSERT_NE(panel, nullptr);
    panel->show();
    panel->tabs()->setCurrentIndex(1); // "Gain"

    // Find the field a screen reader announces as "Step", as a test tool would.
    QAccessibleInterface* step = nullptr;
    QList<QAccessibleInterface*> pending{QAccessible::queryAccessibleInterface(panel)};
    while (!pending.isEmpty() && !step) {
        QAccessibleInterface* node = pending.takeFirst();
        if (node->role() == QAccessible::EditableText && node->text(QAccessible::Name) == "Step")
            step = node;
        for (int i = 0; node && i < node->childCount(); ++i)
            pending.append(node->child(i));
    }
    ASSERT_NE(step, nullptr);
    ASSERT_NE(step->editableTextInterface(), nullptr);
    ASSERT_NE(step->actionInterface(), nullptr);

    const qsizetype before = cameras.received("PTM-TW640").size();
    step->actionInterface()->doAction(QAccessibleActionInterface::setFocusAction());
    step->editableTextInterface()->replaceText(0, step->textInterface()->characterCount(), "12");
    QTest::keyClick(qobject_cast<QWidget*>(step->object()), Qt::Key_Return);

    const QByteArrayList received = cameras.received("PTM-TW640").mid(before);
    ASSERT_FALSE(received.isEmpty());
    EXPECT_EQ(received.first(), "GAIN-FINE 12");
    window.close();
}
