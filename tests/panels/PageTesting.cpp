#include "PageTesting.h"

#include <QTest>

QAbstractButton* findButton(QWidget* page, const QString& text)
{
    for (QAbstractButton* button : page->findChildren<QAbstractButton*>()) {
        if (button->text() == text || button->accessibleName() == text)
            return button;
    }
    ADD_FAILURE() << "no button " << text.toStdString();
    return nullptr;
}

QStringList checkedButtons(QWidget* page, const QStringList& texts)
{
    QStringList checked;
    for (const QString& text : texts) {
        if (QAbstractButton* button = findButton(page, text); button && button->isChecked())
            checked << text;
    }
    return checked;
}

QLabel* findLabel(QWidget* page, const QString& prefix)
{
    for (QLabel* label : page->findChildren<QLabel*>()) {
        if (label->text().startsWith(prefix))
            return label;
    }
    ADD_FAILURE() << "no label beginning with " << prefix.toStdString();
    return nullptr;
}

QStringList itemsOf(const QComboBox* combo)
{
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i)
        texts << combo->itemText(i);
    return texts;
}

void typeAndEnter(QLineEdit* edit, const QString& text)
{
    edit->setText(text);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Return);
}

void pressKey(QWidget* widget, Qt::Key key)
{
    QTest::keyClick(widget, key);
}

void choose(QComboBox* combo, int index)
{
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

void choose(QComboBox* combo, const QString& text)
{
    const int index = combo->findText(text);
    ASSERT_GE(index, 0) << text.toStdString();
    choose(combo, index);
}

void drag(QSlider* slider, std::initializer_list<int> positions)
{
    // What QSlider does for a dragged thumb: down, positions tracked, up.
    slider->setSliderDown(true);
    for (int position : positions)
        slider->setSliderPosition(position);
    slider->setSliderDown(false);
}
