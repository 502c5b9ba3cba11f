#include "ConnectorPicture.h"

#include <QPainter>
#include <QStringList>

#include <QtMath>

namespace {

// Where each pin sits on the face, as fractions of the face's radius from its
// centre: nine pins on the outer ring clockwise from the top, three inside.
struct PinPlace {
    int pin;
    double x;
    double y;
};

QList<PinPlace> pinPlaces()
{
    QList<PinPlace> places;
    for (int i = 0; i < 9; ++i) {
        const double angle = qDegreesToRadians(-90.0 + 40.0 * i);
        places.append({i + 1, 0.72 * std::cos(angle), 0.72 * std::sin(angle)});
    }
    for (int i = 0; i < 3; ++i) {
        const double angle = qDegreesToRadians(-90.0 + 120.0 * i);
        places.append({10 + i, 0.32 * std::cos(angle), 0.32 * std::sin(angle)});
    }
    return places;
}

const QColor kOutputColour(214, 120, 32);
const QColor kInputColour(40, 110, 200);

} // namespace

ConnectorPicture::ConnectorPicture(QWidget* parent) : QWidget(parent)
{
    setAccessibleName(QStringLiteral("Connector"));
    setAccessibleDescription(description());
}

void ConnectorPicture::setPin(int pin, PinUse use, const QString& signal)
{
    if (pin < 1 || pin > kPinCount)
        return;
    if (use == PinUse::None)
        m_roles.remove(pin);
    else
        m_roles.insert(pin, {use, use == PinUse::Output ? signal : QString()});
    const QString text = description();
    setAccessibleDescription(text);
    setToolTip(text);
    update();
}

ConnectorPicture::PinUse ConnectorPicture::use(int pin) const
{
    return m_roles.value(pin).use;
}

QString ConnectorPicture::description() const
{
    QStringList parts;
    for (auto it = m_roles.cbegin(); it != m_roles.cend(); ++it) {
        const bool output = it->use == PinUse::Output;
        QString part = QStringLiteral("Pin %1: %2").arg(it.key()).arg(output ? QStringLiteral("output") : QStringLiteral("input"));
        if (output && !it->signal.isEmpty())
            part += QLatin1Char(' ') + it->signal;
        parts << part;
    }
    return parts.isEmpty() ? QStringLiteral("No pin in use") : parts.join(QStringLiteral("; "));
}

QString ConnectorPicture::legendText(const Role& role)
{
    if (role.use == PinUse::Input)
        return QStringLiteral("IN");
    return role.signal.isEmpty() ? QStringLiteral("OUT") : QStringLiteral("OUT ") + role.signal;
}

QSize ConnectorPicture::sizeHint() const
{
    const int line = fontMetrics().height();
    const int legendWidth = fontMetrics().horizontalAdvance(QStringLiteral("00 OUT SensorOut, inverted"));
    return {8 * line + legendWidth, 8 * line};
}

QSize ConnectorPicture::minimumSizeHint() const
{
    const int line = fontMetrics().height();
    return {6 * line + fontMetrics().horizontalAdvance(QStringLiteral("00 OUT Exposure")), 7 * line};
}

void ConnectorPicture::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QFontMetrics metrics = fontMetrics();
    const int line = metrics.height();

    // The face: a round shell with a key notch at the top.
    const double diameter = qMin(double(height()) - 4.0, 7.0 * line);
    const double radius = diameter / 2.0;
    const QPointF centre(2.0 + radius, height() / 2.0);
    painter.setPen(QPen(palette().color(QPalette::WindowText), 1.5));
    painter.setBrush(palette().color(QPalette::Base));
    painter.drawEllipse(centre, radius, radius);
    painter.setBrush(palette().color(QPalette::WindowText));
    painter.drawRect(QRectF(centre.x() - radius * 0.08, centre.y() - radius, radius * 0.16, radius * 0.12));

    const double pinRadius = qMax(4.0, radius * 0.14);
    QFont numberFont = font();
    numberFont.setPointSizeF(qMax(5.0, font().pointSizeF() * 0.8));
    painter.setFont(numberFont);
    for (const PinPlace& place : pinPlaces()) {
        const QPointF at = centre + QPointF(place.x, place.y) * radius;
        const PinUse pinUse = use(place.pin);
        const QColor colour = pinUse == PinUse::Output ? kOutputColour
                              : pinUse == PinUse::Input ? kInputColour
                                                        : palette().color(QPalette::Mid);
        // Outputs are solid, inputs are rings, unused pins are grey.
        painter.setPen(QPen(colour, 2.0));
        painter.setBrush(pinUse == PinUse::Output ? QBrush(colour) : QBrush(palette().color(QPalette::Base)));
        painter.drawEllipse(at, pinRadius, pinRadius);
        painter.setPen(pinUse == PinUse::Output ? palette().color(QPalette::Base) : palette().color(QPalette::Text));
        painter.drawText(QRectF(at.x() - pinRadius, at.y() - pinRadius, 2 * pinRadius, 2 * pinRadius),
                         Qt::AlignCenter, QString::number(place.pin));
    }

    // The legend: one line per pin in use, in pin order.
    painter.setFont(font());
    double y = qMax(0.0, centre.y() - m_roles.size() * line / 2.0);
    const double x = centre.x() + radius + line;
    for (auto it = m_roles.cbegin(); it != m_roles.cend(); ++it) {
        const QColor colour = it->use == PinUse::Output ? kOutputColour : kInputColour;
        painter.setPen(colour);
        painter.setBrush(it->use == PinUse::Output ? QBrush(colour) : Qt::NoBrush);
        painter.drawEllipse(QPointF(x + line * 0.3, y + line / 2.0), line * 0.25, line * 0.25);
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(QRectF(x + line * 0.8, y, width() - x - line * 0.8, line), Qt::AlignLeft | Qt::AlignVCenter,
                         QStringLiteral("%1 %2").arg(it.key(), 2).arg(legendText(*it)));
        y += line;
    }
}
