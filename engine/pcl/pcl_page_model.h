#pragma once

#include "engine/page_model.h"

namespace kvalon {

// A PCL 5 job from a LaserJet driver: read as the printer reads it, one page
// of the job on each sheet, its fields in PrintJob::Pcl (engine/pcl/pcl_plan.h,
// pcl_page_reader.h, pcl_sheet_drawing.h).
const PageModel& pcl_page_model();

} // namespace kvalon
