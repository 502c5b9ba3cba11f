#include "DialogUnits.h"

#include <QApplication>
#include <QFontMetrics>

DialogUnits::DialogUnits(const QFont& font)
{
    const QFontMetrics metrics(font);
    // The classic base width: the average width of the 52 letters.
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    m_baseWidth = qMax(1, (metrics.horizontalAdvance(letters) / 26 + 1) / 2);
    m_baseHeight = qMax(1, metrics.height());
}

int DialogUnits::toPixelsX(int dialogUnits) const
{
    return dialogUnits * m_baseWidth / 4;
}

int DialogUnits::toPixelsY(int dialogUnits) const
{
    return dialogUnits * m_baseHeight / 8;
}

const DialogUnits& DialogUnits::standard()
{
    static const DialogUnits units(QApplication::font());
    return units;
}
