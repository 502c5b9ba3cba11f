#pragma once

// Small factories for the controls pages are made of, so that every page
// builds its edits, lists and sliders the same way and lays them out with Qt
// layouts.

#include <QStringList>

#include <initializer_list>

class QAbstractSlider;
class QComboBox;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLayout;
class QLineEdit;
class QObject;
class QSlider;
class QValidator;
class QWidget;

QLineEdit* makeEdit(QWidget* parent);
QLineEdit* makeReadOnlyEdit(QWidget* parent);
// Marks an edit whose typed text was not sent (or takes the mark away).
void markInvalidInput(QLineEdit* edit, bool invalid);

// Text fields (a user-defined name, for example) take printable characters
// only: a control character typed or pasted into the field (a carriage
// return, line feed, tab, NUL, escape...) is refused as it comes, so that a
// line composed from the field can never carry a second command.
QValidator* makePrintableTextValidator(QObject* parent);
void acceptPrintableTextOnly(QLineEdit* edit);

// A drop-down list with no item selected; editable ones have an edit field
// the page may write into and never add what the user types to the list.
QComboBox* makeList(QWidget* parent, const QStringList& items);
QComboBox* makeEditableList(QWidget* parent, const QStringList& items);

// A horizontal slider with ticks.
QSlider* makeSlider(QWidget* parent, int min, int max, int tickInterval = 1);

// Names a control for screen readers by its caption, unless it has a name.
void nameForAccessibility(QWidget* control, const QString& caption);
// A slider shares its caption with the edit it is coupled to; its name says
// which of the two it is: "<caption> slider".
void nameSliderForAccessibility(QAbstractSlider* slider, const QString& caption);

// Marks an edit whose text was not sent because it is no valid value (its
// base colour and its description for screen readers), or clears the mark.
void markInvalidInput(QLineEdit* edit, bool invalid);

// A label; with a buddy, the buddy also takes the text as its accessible name
// unless it has one.
QLabel* makeLabel(QWidget* parent, const QString& text, QWidget* buddy = nullptr);

// Shows a text that changes (a status, a notice) so that screen readers read
// it too: it is also the label's accessible description, under the label's
// accessible name ("Connection", "Notice").
void showReadableText(QLabel* label, const QString& text);

// A row of widgets and layouts, left to right; a null entry is a stretch.
QHBoxLayout* makeRow(std::initializer_list<QObject*> items);

QGroupBox* makeGroup(QWidget* parent, const QString& title, QLayout* layout);

// Lays a page out as columns side by side, left to right.
void layOutColumns(QWidget* page, std::initializer_list<QLayout*> columns);

// Whether the window a page is in (its panel) is shown; false for anything
// that is not a widget. A minimised window still counts as shown.
bool windowShown(const QObject* page);
