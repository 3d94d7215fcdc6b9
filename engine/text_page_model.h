#pragma once

#include "engine/page_model.h"

namespace kvalon {

// Plain text: lines of characters in the job's code page laid on a grid of
// cells (engine/plan_layout.h, engine/read_page.h), printed cell by cell.
const PageModel& text_page_model();

} // namespace kvalon
