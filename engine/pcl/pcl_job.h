#pragma once

#include "engine/pcl/pcl_state.h"

#include <cstdint>
#include <string>

namespace kvalon {

// What a job read as a PCL printer reads it knows besides the job record's
// own fields.
struct PclJob {
    // PrintText is the bytes of one page, printed again from the printer's
    // state where it begins (PageStart). The bytes read past it wait in
    // Pending, to be read from Carried.
    PclState PageStart;
    PclState Carried;
    std::string Pending;
    // The first printed page's size (PCL's number) and its text length in
    // lines of 6 to the inch, as the plan tells them.
    int PageSize = 26;
    std::int64_t TextLines = 0;
    // The page as it lies (1/7200 inch) goes onto the sheet at Scale, its
    // top-left corner at LeftMm, TopMm from the sheet's.
    std::int64_t PageWidth = 0;
    std::int64_t PageLength = 0;
    std::int64_t Border = 0; // the logical page's border at the left and right
    double Scale = 1;
    double LeftMm = 0;
    double TopMm = 0;
    // Pages of other sizes than the first: each on a sheet of its own size
    // where the printer takes one (SheetPerPage), else on the first page's.
    bool SizesDiffer = false;
    bool SheetPerPage = false;
    int PagePaperSize = 26; // the size of the page in PrintText
};

} // namespace kvalon
