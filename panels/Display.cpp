#include "Display.h"

#include <QAbstractButton>
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
    return negative ? -value : value;
}

std::optional<int> readScaled(const QString& text, double factor)
{
    const std::optional<double> number = readFloatingPoint(text);
    if (!number)
        return std::nullopt;
    const double scaled = std::trunc(*number * factor);
    if (!std::isfinite(scaled) || scaled < INT_MIN || scaled > INT_MAX)
        return std::nullopt;
    return static_cast<int>(scaled);
}

std::optional<int> readInteger(const QString& text)
{
    const QString trimmed = text.trimmed();
    const qsizetype digitsFrom = (trimmed.startsWith('+') || trimmed.startsWith('-')) ? 1 : 0;
    if (trimmed.size() == digitsFrom)
        return std::nullopt;
    for (qsizetype i = digitsFrom; i < trimmed.size(); ++i) {
        if (trimmed.at(i) < '0' || trimmed.at(i) > '9')
            return std::nullopt;
    }
    bool ok = false;
    const int value = trimmed.toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}
