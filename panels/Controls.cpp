#include "Controls.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QSlider>
#include <QStyle>
#include <QValidator>

#include <algorithm>

namespace {

class PrintableTextValidator : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int&) const override
    {
        const bool printable =
            std::ranges::none_of(input, [](QChar c) { return c.category() == QChar::Other_Control; });
        return printable ? Acceptable : Invalid;
    }
};

} // namespace

QValidator* makePrintableTextValidator(QObject* parent)
{
    return new PrintableTextValidator(parent);
}

void acceptPrintableTextOnly(QLineEdit* edit)
{
    edit->setValidator(makePrintableTextValidator(edit));
}

QLineEdit* makeEdit(QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    // Room for a frame rate such as 29.970000 however tight the page gets.
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("00.0000000")));
    return edit;
}

QLineEdit* makeReadOnlyEdit(QWidget* parent)
{
    QLineEdit* edit = makeEdit(parent);
    edit->setReadOnly(true);
    return edit;
}

void markInvalidInput(QLineEdit* edit, bool invalid)
{
    if (edit->property("invalidInput").toBool() == invalid)
        return;
    // The mark goes as soon as the user edits the text again.
    if (invalid && !edit->property("clearsMarkWhenEdited").toBool()) {
        edit->setProperty("clearsMarkWhenEdited", true);
        QObject::connect(edit, &QLineEdit::textEdited, edit, [edit] { markInvalidInput(edit, false); });
    }
    edit->setProperty("invalidInput", invalid);
    // The palette's base colour shows the fault without a style sheet, which
    // would replace the platform's look of the box.
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, invalid ? QColor(255, 214, 214) : edit->style()->standardPalette().color(QPalette::Base));
    edit->setPalette(palette);
    edit->setAccessibleDescription(invalid ? QStringLiteral("not sent: not a valid value") : QString());
}

QComboBox* makeList(QWidget* parent, const QStringList& items)
{
    auto* combo = new QComboBox(parent);
    combo->addItems(items);
    // Nothing is claimed until the camera's value is loaded or the user picks one.
    combo->setCurrentIndex(-1);
    return combo;
}

QComboBox* makeEditableList(QWidget* parent, const QStringList& items)
{
    QComboBox* combo = makeList(parent, items);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    return combo;
}

QSlider* makeSlider(QWidget* parent, int min, int max, int tickInterval)
{
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setRange(min, max);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setTickInterval(tickInterval);
    return slider;
}

void nameForAccessibility(QWidget* control, const QString& caption)
{
    if (control && !caption.isEmpty() && control->accessibleName().isEmpty())
        control->setAccessibleName(caption.trimmed());
}

void nameSliderForAccessibility(QAbstractSlider* slider, const QString& caption)
{
    if (!caption.isEmpty())
        nameForAccessibility(slider, caption.trimmed() + QStringLiteral(" slider"));
}

QLabel* makeLabel(QWidget* parent, const QString& text, QWidget* buddy)
{
    auto* label = new QLabel(text, parent);
    if (buddy) {
        label->setBuddy(buddy);
        nameForAccessibility(buddy, text);
    }
    return label;
}

void showReadableText(QLabel* label, const QString& text)
{
    label->setText(text);
    label->setAccessibleDescription(text);
}

QHBoxLayout* makeRow(std::initializer_list<QObject*> items)
{
    auto* row = new QHBoxLayout;
    for (QObject* item : items) {
        if (!item)
            row->addStretch();
        else if (item->isWidgetType())
            row->addWidget(static_cast<QWidget*>(item));
        else if (auto* layout = qobject_cast<QLayout*>(item))
            row->addLayout(layout);
    }
    return row;
}

QGroupBox* makeGroup(QWidget* parent, const QString& title, QLayout* layout)
{
    auto* group = new QGroupBox(title, parent);
    group->setLayout(layout);
    return group;
}

void layOutColumns(QWidget* page, std::initializer_list<QLayout*> columns)
{
    auto* layout = new QHBoxLayout(page);
    for (QLayout* column : columns)
        layout->addLayout(column);
}

bool windowShown(const QObject* page)
{
    const auto* widget = qobject_cast<const QWidget*>(page);
    return widget && widget->window()->isVisible();
}
