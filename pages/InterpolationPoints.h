#pragma once

// The five points of the linear-interpolation look-up table, which the LUT
// pages of both families edit: per point an input level (X) and an output
// level (Y), both 12-bit, each row showing its point's setting
// (LutSettings). The points reach the camera only when a build is asked
// for.

class Bindings;
class CellGrid;
class LutSettings;
class QWidget;
class SendPath;
struct CameraCommand;

namespace interpolation {

// Rows "1" to "5", columns "X" and "Y": the cells are named "Point 3 X".
CellGrid* makePoints(QWidget* parent, Bindings& bindings, const LutSettings& settings);

// Sends, in order 1 to 5, each point whose two levels are whole numbers
// from 0 to 4095 as "LINEAR-INTERPOLATION <k> <x> <y>", waiting for each
// answer; the other points are left out, marked, and named in the status
// line. A refused point shows the camera's levels again and the status line
// says why. Then the build command, whatever became of the points: the
// camera builds from the points it holds, which the rows then show.
void build(SendPath& path, CellGrid& points, const CameraCommand& build);

} // namespace interpolation
