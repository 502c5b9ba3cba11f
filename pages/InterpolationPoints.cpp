#include "InterpolationPoints.h"

#include "Bindings.h"
#include "CellGrid.h"
#include "CommandWords.h"
#include "Link.h"

#include <QLineEdit>

namespace interpolation {

namespace {

QByteArray pointWord(int point)
{
    return QByteArray(cmd::LINEAR_INTERPOLATION) + ' ' + QByteArray::number(point);
}

// The line of the point in a row, while both its levels can be sent.
std::optional<QByteArray> pointLine(const CellGrid& points, int row)
{
    const std::optional<int> x = points.value(row, 0);
    const std::optional<int> y = points.value(row, 1);
    if (!x || !y)
        return std::nullopt;
    return pointWord(row + 1) + ' ' + QByteArray::number(*x) + ' ' + QByteArray::number(*y);
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
        if (const std::optional<QByteArray> line = pointLine(points, row))
            Transact(connection, *line, 1.0);
    }
    Transact(connection, buildWord, 3.0);
}

void declareSettings(Bindings& bindings, const CellGrid& points)
{
    for (int row = 0; row < kPoints; ++row) {
        bindings.setting(points.cell(row, 0), cmd::LINEAR_INTERPOLATION, [&points, row] { return pointLine(points, row); })
            .indexed(QByteArray::number(row + 1));
    }
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
