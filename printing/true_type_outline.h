#pragma once

#include "printing/face_reader.h"
#include "printing/true_type_glyphs.h"

#include <vector>

namespace kvalon {

// A glyph's points as the steps of its outline: each quadratic piece as the
// cubic curve that draws it, each contour closed back to where it began.
std::vector<OutlineStep> outline_of(const std::vector<TrueTypeGlyphs::Point>& points);

} // namespace kvalon
