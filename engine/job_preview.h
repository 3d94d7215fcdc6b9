#pragma once

#include "engine/sheet_offset.h"

#include <string>

namespace kvalon {

// What the printing system will be told with the next document, for the
// print data and the plan.
struct JobPreview {
    // The job's settings as `lp -o` takes them ("media=iso_a4_210x297mm
    // sides=two-sided-long-edge"); empty when the printer is told nothing
    // (the PDF printer).
    std::string settings;
    // Why some of the planned cells may not print, when the printer cannot
    // print as near the sheet's edges as they stand; empty when they all do.
    std::string note;
    // How far the printer's pages are moved on the sheet (zero: not at all).
    SheetOffset offset;
};

} // namespace kvalon
