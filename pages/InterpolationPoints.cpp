#include "InterpolationPoints.h"

#include "CellGrid.h"
#include "SendPath.h"
#include "common/LutSettings.h"

namespace interpolation {

CellGrid* makePoints(QWidget* parent, Bindings& bindings, const LutSettings& settings)
{
    QStringList rows;
    for (int point = 1; point <= LutSettings::kPoints; ++point)
        rows << QString::number(point);
    auto* points = new CellGrid(parent, QStringLiteral("Point"), rows, {QStringLiteral("X"), QStringLiteral("Y")}, 0,
                                LutSettings::kMaxLevel);
    points->bindRows(bindings, {settings.points.begin(), settings.points.end()});
    return points;
}

void build(SendPath& path, CellGrid& points, const CameraCommand& build)
{
    points.sendRows(path);
    path.command(build.word, build.mode);
}

} // namespace interpolation
