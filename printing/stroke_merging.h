#pragma once

#include "printing/page_description.h"

#include <vector>

namespace kvalon {

// Joins horizontal strokes on one row and vertical strokes in one column that
// have the same width and overlap or touch (ends closer than `touching`) into
// single strokes: the picture stays the same, the document gets far smaller.
// Other strokes pass unchanged.
std::vector<Stroke> merge_collinear(const std::vector<Stroke>& strokes, double touching);

} // namespace kvalon
