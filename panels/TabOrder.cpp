#include "TabOrder.h"

#include <QBoxLayout>
#include <QFormLayout>
#include <QGridLayout>
#include <QLayout>
#include <QList>
#include <QWidget>

#include <algorithm>
#include <tuple>

namespace {

void collectLayout(QLayout* layout, QList<QWidget*>& controls);

void collectWidget(QWidget* widget, QList<QWidget*>& controls)
{
    if (widget->focusPolicy() & Qt::TabFocus) {
        controls << widget;
        return;
    }
    if (widget->layout())
        collectLayout(widget->layout(), controls);
}

void collectItem(QLayoutItem* item, QList<QWidget*>& controls)
{
    if (!item)
        return;
    if (QWidget* widget = item->widget())
        collectWidget(widget, controls);
    else if (QLayout* inner = item->layout())
        collectLayout(inner, controls);
}

// The layout's items in the order the eye reads them.
QList<QLayoutItem*> itemsAsRead(QLayout* layout)
{
    QList<QLayoutItem*> items;
    for (int i = 0; i < layout->count(); ++i)
        items << layout->itemAt(i);
    if (auto* grid = qobject_cast<QGridLayout*>(layout)) {
        QList<std::tuple<int, int, QLayoutItem*>> placed;
        for (int i = 0; i < grid->count(); ++i) {
            int row = 0, column = 0, rows = 0, columns = 0;
            grid->getItemPosition(i, &row, &column, &rows, &columns);
            placed.append({row, column, grid->itemAt(i)});
        }
        std::ranges::stable_sort(placed, [](const auto& a, const auto& b) {
            return std::tie(std::get<0>(a), std::get<1>(a)) < std::tie(std::get<0>(b), std::get<1>(b));
        });
        items.clear();
        for (const auto& entry : placed)
            items << std::get<2>(entry);
    } else if (auto* form = qobject_cast<QFormLayout*>(layout)) {
        items.clear();
        for (int row = 0; row < form->rowCount(); ++row) {
            for (auto role : {QFormLayout::LabelRole, QFormLayout::FieldRole, QFormLayout::SpanningRole})
                items << form->itemAt(row, role);
        }
    } else if (auto* box = qobject_cast<QBoxLayout*>(layout)) {
        if (box->direction() == QBoxLayout::RightToLeft || box->direction() == QBoxLayout::BottomToTop)
            std::ranges::reverse(items);
    }
    return items;
}

void collectLayout(QLayout* layout, QList<QWidget*>& controls)
{
    for (QLayoutItem* item : itemsAsRead(layout))
        collectItem(item, controls);
}

} // namespace

void orderTabsAsLaidOut(QWidget* page)
{
    if (!page->layout())
        return;
    QList<QWidget*> controls;
    collectLayout(page->layout(), controls);
    for (qsizetype i = 1; i < controls.size(); ++i)
        QWidget::setTabOrder(controls.at(i - 1), controls.at(i));
}
