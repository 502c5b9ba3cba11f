#pragma once

// The five points of the linear-interpolation look-up table, which the LUT
// pages of both families edit: per point an input level (X) and an output
// level (Y), both 12-bit. The points reach the camera only when a build is
// asked for.

class Bindings;
class CellGrid;
class Connection;
class QWidget;

namespace interpolation {

inline constexpr int kPoints = 5;
inline constexpr int kMaxLevel = 4095;

// Rows "1" to "5", columns "X" and "Y": the cells are named "Point 3 X".
CellGrid* makePoints(QWidget* parent);

// Sends, in order 1 to 5, each point whose two levels are numbers from 0 to
// 4095 as "LINEAR-INTERPOLATION <k> <x> <y>" (Transact, 1.0 s each); other
// points are skipped. Then the build word (Transact, 3.0 s).
void build(Connection& connection, const CellGrid& points, const char* buildWord);

// Declares each point as a setting, for files of settings: the line build
// sends for it ("LINEAR-INTERPOLATION <k> <x> <y>") while both its levels
// are numbers from 0 to 4095. The build itself is an action and no setting.
void declareSettings(Bindings& bindings, const CellGrid& points);

// Reads points 1 to 5 ("LINEAR-INTERPOLATION <k>", two integers). A point
// whose answer does not check out shows empty boxes, never another point's
// levels.
void load(Connection& connection, CellGrid& points);

} // namespace interpolation
