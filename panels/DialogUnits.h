#pragma once

#include <QFont>
#include <QSize>

// Window and page sizes are given in dialog units: a quarter of the dialog
// font's average character width horizontally, an eighth of its height
// vertically. Converted once here with the font the widgets use.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);

    int toPixelsX(int dialogUnits) const;
    int toPixelsY(int dialogUnits) const;
    QSize toPixels(int width, int height) const { return {toPixelsX(width), toPixelsY(height)}; }

    // For the application's default widget font.
    static const DialogUnits& standard();

private:
    int m_baseWidth;
    int m_baseHeight;
};
