#pragma once

#include "printing/page_description.h"

#include <functional>
#include <vector>

namespace kvalon {

// The pages that `draw` would hand to the current printer, captured instead of
// printed. While `draw` runs, printer() is a surface set up as the current
// printer is now (its paper, resolution and faces) whose document ends in
// memory; afterwards, also when `draw` throws, printer() is the current
// printer again, untouched. A document `draw` leaves open is ended, so its
// last page is among the result.
std::vector<PageDescription> capture_pages(const std::function<void()>& draw);

} // namespace kvalon
