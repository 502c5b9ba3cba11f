#include "Display.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include <charconv>
#include <climits>
#include <cmath>

Format asDecimal()
{
    return [](int value) { return QString::number(value); };
}

Format printedAs(const char* format)
{
    return [format](int value) { return QString::asprintf(format, value); };
}

Format scaledBy(double factor, const char* format)
{
    return [factor, format](int value) { return QString::asprintf(format, value * factor); };
}

Format dividedBy(double divisor, const char* format)
{
    return [divisor, format](int value) { return QString::asprintf(format, value / divisor); };
}

void showText(QWidget* target, const QString& text)
{
    if (auto* label = qobject_cast<QLabel*>(target))
        label->setText(text);
    else if (auto* edit = qobject_cast<QLineEdit*>(target))
        edit->setText(text);
    else if (auto* combo = qobject_cast<QComboBox*>(target))
        combo->setEditText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(target))
        button->setText(text);
}

void showCheck(QAbstractButton* box, int value)
{
    box->setChecked(value == 1);
}

void showCheckOrNotRead(QCheckBox* box, std::optional<bool> on)
{
    if (!on) {
        box->setTristate(true);
        box->setCheckState(Qt::PartiallyChecked);
        return;
    }
    // Through setCheckState: a box that leaves "not read" for the state it
    // held underneath must be repainted all the same.
    box->setCheckState(*on ? Qt::Checked : Qt::Unchecked);
    box->setTristate(false);
}

void selectIndex(QComboBox* combo, int index)
{
    combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
}

bool selectValue(QComboBox* combo, const QList<int>& values, int value)
{
    const qsizetype index = values.indexOf(value);
    if (index < 0 || index >= combo->count())
        return false;
    combo->setCurrentIndex(static_cast<int>(index));
    return true;
}

int findPrefix(const QComboBox* combo, const QString& text)
{
    for (int i = 0; i < combo->count(); ++i) {
        if (combo->itemText(i).startsWith(text, Qt::CaseInsensitive))
            return i;
    }
    return -1;
}

void selectPrefix(QComboBox* combo, const QString& text)
{
    combo->setCurrentIndex(findPrefix(combo, text));
}

void fillChoices(QComboBox* combo, const QByteArrayList& lines)
{
    combo->clear();
    for (const QByteArray& line : lines)
        combo->addItem(QString::fromLatin1(line));
}

std::optional<double> readFloatingPoint(const QString& text)
{
    const QByteArray bytes = text.toLatin1();
    const char* begin = bytes.constData();
    const char* end = begin + bytes.size();
    while (begin < end && (*begin == ' ' || (*begin >= '\t' && *begin <= '\r')))
        ++begin;
    // from_chars takes no leading plus sign; "%lf" does.
    bool negative = false;
    if (begin < end && (*begin == '+' || *begin == '-')) {
        negative = *begin == '-';
        ++begin;
        if (begin < end && (*begin == '+' || *begin == '-'))
            return std::nullopt;
    }
    double value = 0.0;
    const auto [stop, error] = std::from_chars(begin, end, value);
    if (error != std::errc() || stop == begin)
        return std::nullopt;
    // A typed value is the number alone: "30fps" or "1.5x" is a slip.
    for (const char* rest = stop; rest < end; ++rest) {
        if (*rest != ' ' && (*rest < '\t' || *rest > '\r'))
            return std::nullopt;
    }
    return negative ? -value : value;
}

namespace {

std::optional<int> readScaledWith(const QString& text, double factor, double (*toWhole)(double))
{
    const std::optional<double> number = readFloatingPoint(text);
    if (!number)
        return std::nullopt;
    const double scaled = toWhole(*number * factor);
    if (!std::isfinite(scaled) || scaled < INT_MIN || scaled > INT_MAX)
        return std::nullopt;
    return static_cast<int>(scaled);
}

} // namespace

std::optional<int> readScaled(const QString& text, double factor)
{
    return readScaledWith(text, factor, [](double x) { return std::trunc(x); });
}

std::optional<int> readScaledToNearest(const QString& text, double factor)
{
    return readScaledWith(text, factor, [](double x) { return std::round(x); });
}

std::optional<int> readWholeNumber(const QString& text, int min, int max)
{
    const QString number = text.trimmed();
    qsizetype pos = 0;
    const bool negative = number.startsWith(QLatin1Char('-'));
    if (negative || number.startsWith(QLatin1Char('+')))
        pos = 1;
    if (pos >= number.size())
        return std::nullopt;
    long long magnitude = 0;
    for (; pos < number.size(); ++pos) {
        const QChar c = number.at(pos);
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        magnitude = magnitude * 10 + (c.unicode() - '0');
        if (magnitude > static_cast<long long>(INT_MAX) + 1)
            return std::nullopt;
    }
    const long long value = negative ? -magnitude : magnitude;
    if (value < min || value > max)
        return std::nullopt;
    return static_cast<int>(value);
}

QString whyNotWholeNumber(const QString& text, int min, int max)
{
    if (readWholeNumber(text, min, max))
        return {};
    const QString typed = text.trimmed();
    if (typed.isEmpty())
        return QStringLiteral("nothing typed");
    if (!readWholeNumber(text))
        return QStringLiteral("\"%1\" is not a whole number").arg(typed);
    return QStringLiteral("%1 is outside %2 to %3").arg(typed).arg(min).arg(max);
}
