#include "LutSettings.h"

#include "CommandWords.h"

void LutSettings::declareLut()
{
    format = &number(cmd::LUT_FORMAT, QStringLiteral("LUT"));
    threshold = &number(cmd::BINARIZATION, QStringLiteral("Threshold"));
    for (int point = 1; point <= kPoints; ++point) {
        points[point - 1] = &numbers(cmd::LINEAR_INTERPOLATION, QStringLiteral("Point %1").arg(point), "%d %d", 2)
                                 .indexed(QByteArray::number(point));
    }
    build = &command(cmd::LINEAR_INTERPOLATION_BUILD, QStringLiteral("Build"), SendMode::transact(3.0));
}
