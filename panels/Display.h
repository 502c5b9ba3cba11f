#pragma once

// Showing camera values in controls, the same way on every page.

#include <QByteArrayList>
#include <QList>
#include <QString>

#include <climits>
#include <functional>
#include <optional>

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QWidget;

// Turns a value into the text a control shows. A null QString means "leave
// the control as it is" (for read-outs that have nothing to show for a value).
using Format = std::function<QString(int value)>;

// "%d".
Format asDecimal();
// A printf format with one int conversion, such as "Width = %d" or "%d degC".
Format printedAs(const char* format);
// The value times a factor in a printf format with one double conversion,
// such as "%f" for frames per second from micro-frames, or "%3.2lf".
Format scaledBy(double factor, const char* format);

// The value divided by a divisor in a printf format with one double
// conversion: dividedBy(1000000, "%f") shows 29970000 as 29.970000.
Format dividedBy(double divisor, const char* format);

// Writes text into a label, line edit, combo box's edit field or button.
void showText(QWidget* target, const QString& text);

// Camera switches are 0 (off) and 1 (on); any other value, such as the -1 of
// a failed query, shows as off.
void showCheck(QAbstractButton* box, int value);

// A check box that shows a value not read as neither on nor off (a third
// state the user cannot pick): on, off, or not read when there is no value.
void showCheckOrNotRead(QCheckBox* box, std::optional<bool> on);

// Selects the item at index; an index outside the list leaves no selection.
void selectIndex(QComboBox* combo, int index);

// Selects the item whose entry in values equals value. Returns false and
// leaves the selection as it was when no entry matches.
bool selectValue(QComboBox* combo, const QList<int>& values, int value);

// The list box's prefix search: the first item whose text begins with text,
// compared without regard to case; -1 when none does.
int findPrefix(const QComboBox* combo, const QString& text);

// Selects the first item beginning with text; no selection when none does.
void selectPrefix(QComboBox* combo, const QString& text);

// Empties the list and inserts the camera's choice lines in its order.
void fillChoices(QComboBox* combo, const QByteArrayList& lines);

// Reads a floating-point number written the way "%lf" reads one (sign,
// digits, decimal point, exponent), with blanks around it and nothing else;
// nothing for any other text ("30fps", "1.5.2", "").
std::optional<double> readFloatingPoint(const QString& text);

// A typed value scaled to an integer for the camera: the number times factor,
// truncated toward zero. Nothing when the text is not a number or the result
// does not fit in 32 bits, so a typing error never reaches the camera as a
// wrapped-around value.
std::optional<int> readScaled(const QString& text, double factor);
// The same rounded to the nearest whole number: a value shown divided by
// factor reads back exactly, where truncating may lose one.
std::optional<int> readScaledToNearest(const QString& text, double factor);

// A typed whole number, read strictly: blanks around it, an optional sign and
// digits, nothing else. Nothing when the text is empty, is not such a number
// ("12abc", "1.5") or lies outside min..max, 32-bit overflow included, so
// that neither a slip of the keyboard nor a wrapped-around value reaches the
// camera.
std::optional<int> readWholeNumber(const QString& text, int min = INT_MIN, int max = INT_MAX);
// Why readWholeNumber gives nothing for the text ("nothing typed", "\"abc\" is
// not a whole number", "700 is outside 0 to 640"); empty when it gives a number.
QString whyNotWholeNumber(const QString& text, int min = INT_MIN, int max = INT_MAX);
