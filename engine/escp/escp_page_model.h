#pragma once

#include "engine/page_model.h"

namespace kvalon {

// An Epson-compatible printer's sequences (ESC/P, ESC/P 2): the report read
// as the printer reads it, one printer page on each sheet, its fields in
// PrintJob::Escp (engine/escp/escp_plan.h, escp_page_reader.h,
// escp_sheet_drawing.h).
const PageModel& escp_page_model();

} // namespace kvalon
