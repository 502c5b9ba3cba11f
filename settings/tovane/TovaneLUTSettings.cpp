#include "TovaneLUTSettings.h"

#include "CommandWords.h"

// In the order the camera is read: the format, the threshold, the five
// interpolation points, then the wide LUT from point 0.
TovaneLUTSettings::TovaneLUTSettings(Connection& connection, const QString& title, const CatalogueContext&)
    : LutSettings(connection, title)
{
    declareLut();
    for (int point = 0; point < kWideLutPoints; ++point)
        wideLut[point] = &number(cmd::WIDE_LUT, QStringLiteral("WideLUT %1").arg(point)).indexed(QByteArray::number(point));
}
