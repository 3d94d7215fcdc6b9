#pragma once

#include "engine/print_job.h"

#include <cstdint>

namespace kvalon {

// Cells the grid spans across the sheet, CharWidth being the sheet's width
// shared among them: a full line and the margin allowance on both sides, as
// planned. When a printed line and its indentation would pass the sheet's
// right edge (a line of many bold markers after a longer one leaves
// LongestLine short), the span grows so that the widest printed line keeps
// the right margin a full line has.
//
// `widest_net` is the most characters of one line that are not bold markers.
// Reads the source again, by its path, only when that bound passes the edge.
// Throws KvalonError(File) when the source cannot be read, Overflow when the
// span leaves its 16-bit range.
std::int16_t grid_span(const PrintJob& j, std::int16_t allowance, std::int64_t widest_net);

} // namespace kvalon
