#include "InterpolationPoints.h"

#include "CellGrid.h"
#include "CommandWords.h"
#include "Link.h"

namespace interpolation {

namespace {

QByteArray pointWord(int point)
{
    return QByteArray(cmd::LINEAR_INTERPOLATION) + ' ' + QByteArray::number(point);
}

} // namespace

CellGrid* makePoints(QWidget* parent)
{
    QStringList rows;
    for (int point = 1; point <= kPoints; ++point)
        rows << QString::number(point);
    return new CellGrid(parent, QStringLiteral("Point"), rows, {QStringLiteral("X"), QStringLiteral("Y")}, 0, kMaxLevel);
}

void build(Connection& connection, const CellGrid& points, const char* buildWord)
{
    for (int row = 0; row < kPoints; ++row) {
        const std::optional<int> x = points.value(row, 0);
        const std::optional<int> y = points.value(row, 1);
        if (x && y)
            Transact(connection, pointWord(row + 1) + ' ' + QByteArray::number(*x) + ' ' + QByteArray::number(*y), 1.0);
    }
    Transact(connection, buildWord, 3.0);
}

void load(Connection& connection, CellGrid& points)
{
    for (int row = 0; row < kPoints; ++row) {
        int x = 0;
        int y = 0;
        if (QueryInts(connection, pointWord(row + 1), "%d %d", {&x, &y})) {
            points.show(points.cellOf(row, 0), x);
            points.show(points.cellOf(row, 1), y);
        } else {
            points.clearRow(row);
        }
    }
}

} // namespace interpolation
