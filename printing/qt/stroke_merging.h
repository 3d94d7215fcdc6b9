#pragma once

#include <QLineF>

#include <vector>

namespace kvalon {

// Joins horizontal strokes on one row and vertical strokes in one column that
// overlap or touch into single strokes: the picture stays the same, the
// document gets far smaller. Other strokes pass unchanged.
std::vector<QLineF> merge_collinear(const std::vector<QLineF>& strokes);

} // namespace kvalon
