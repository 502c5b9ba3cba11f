#pragma once

#include <QRectF>
#include <QWidget>

#include <optional>

// A sketch of a detection area within the image: the image's outline and the
// area drawn in it to scale. Values the camera has not given are missing:
// without the image's size the sketch is scaled to the area's far corner;
// without the area's sides only the outline shows, with the reason in it.
class AreaSketch : public QWidget {
    Q_OBJECT
public:
    struct Area {
        std::optional<int> x, y, width, height;
    };

    explicit AreaSketch(QWidget* parent = nullptr);

    void setImageSize(std::optional<int> width, std::optional<int> height);
    // missing: what the sketch says when a side is not given ("not read", "N/A").
    void setArea(const Area& area, const QString& missing);

    // Where the image and the area are drawn, in the widget's coordinates;
    // an empty area rectangle when no area is drawn.
    QRectF imageRect() const;
    QRectF areaRect() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The extent the sketch stands for: the image, or the area's far corner.
    std::optional<QSizeF> extent() const;
    void describe();

    std::optional<int> m_imageWidth;
    std::optional<int> m_imageHeight;
    Area m_area;
    QString m_missing;
};
