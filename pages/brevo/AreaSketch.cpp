#include "AreaSketch.h"

#include <QPainter>
#include <QPalette>

namespace {

constexpr int kMarginPx = 4;

bool complete(const AreaSketch::Area& area)
{
    return area.x && area.y && area.width && area.height;
}

} // namespace

AreaSketch::AreaSketch(QWidget* parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    describe();
}

void AreaSketch::setImageSize(std::optional<int> width, std::optional<int> height)
{
    // A size that is no size draws nothing to scale of.
    m_imageWidth = width && *width > 0 ? width : std::nullopt;
    m_imageHeight = height && *height > 0 ? height : std::nullopt;
    describe();
    update();
}

void AreaSketch::setArea(const Area& area, const QString& missing)
{
    m_area = area;
    m_missing = missing;
    describe();
    update();
}

std::optional<QSizeF> AreaSketch::extent() const
{
    if (m_imageWidth && m_imageHeight)
        return QSizeF(*m_imageWidth, *m_imageHeight);
    if (complete(m_area) && *m_area.x + *m_area.width > 0 && *m_area.y + *m_area.height > 0)
        return QSizeF(qMax(1, *m_area.x + *m_area.width), qMax(1, *m_area.y + *m_area.height));
    return std::nullopt;
}

QRectF AreaSketch::imageRect() const
{
    const QRectF room = QRectF(rect()).adjusted(kMarginPx, kMarginPx, -kMarginPx, -kMarginPx);
    const std::optional<QSizeF> size = extent();
    if (!size || room.isEmpty())
        return room;
    // The image keeps its proportions, centred in the room there is.
    const QSizeF scaled = size->scaled(room.size(), Qt::KeepAspectRatio);
    return QRectF(room.center() - QPointF(scaled.width() / 2, scaled.height() / 2), scaled);
}

QRectF AreaSketch::areaRect() const
{
    const std::optional<QSizeF> size = extent();
    if (!size || !complete(m_area))
        return {};
    const QRectF image = imageRect();
    const double scale = image.width() / size->width();
    const QRectF area(image.left() + *m_area.x * scale, image.top() + *m_area.y * scale, *m_area.width * scale,
                      *m_area.height * scale);
    // An area beyond the image is drawn as far as the image goes.
    return area.normalized().intersected(image);
}

QSize AreaSketch::sizeHint() const
{
    return {160, 120};
}

QSize AreaSketch::minimumSizeHint() const
{
    return {64, 48};
}

void AreaSketch::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QPalette& colours = palette();
    const QRectF image = imageRect();
    painter.fillRect(image, colours.color(QPalette::Base));
    painter.setPen(QPen(colours.color(QPalette::Text), 1));
    painter.drawRect(image);
    const QRectF area = areaRect();
    if (!area.isEmpty()) {
        QColor fill = colours.color(QPalette::Highlight);
        fill.setAlpha(110);
        painter.fillRect(area, fill);
        painter.setPen(QPen(colours.color(QPalette::Highlight), 2));
        painter.drawRect(area);
    } else if (!complete(m_area)) {
        painter.setPen(colours.color(QPalette::PlaceholderText));
        painter.drawText(image, Qt::AlignCenter, m_missing);
    }
}

void AreaSketch::describe()
{
    // What the picture shows, in words, for screen readers.
    QString text;
    if (complete(m_area)) {
        text = QStringLiteral("%1 × %2 at %3, %4")
                   .arg(*m_area.width)
                   .arg(*m_area.height)
                   .arg(*m_area.x)
                   .arg(*m_area.y);
    } else {
        text = QStringLiteral("area %1").arg(m_missing);
    }
    if (m_imageWidth && m_imageHeight)
        text += QStringLiteral(" in an image of %1 × %2").arg(*m_imageWidth).arg(*m_imageHeight);
    setAccessibleDescription(text);
}
