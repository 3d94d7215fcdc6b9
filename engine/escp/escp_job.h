#pragma once

#include "engine/escp/escp_state.h"

#include <cstdint>
#include <string>

namespace kvalon {

// What a job read as an Epson-compatible printer reads it (ESC/P) knows
// besides the job record's own fields.
struct EscpJob {
    // PrintText is the bytes of one printer page, printed again from the
    // printer's state where it begins (PageStart). The bytes read past it
    // wait in Pending, to be read from Carried.
    EscpState PageStart;
    EscpState Carried;
    std::string Pending;
    // The printer's page (the longest form, the widest printed line; printer
    // units) goes onto the sheet at Scale, its top-left corner at LeftMm,
    // TopMm from the sheet's.
    std::int64_t FormLength = 0;
    std::int64_t Width = 0;
    double Scale = 1;
    double LeftMm = 0;
    double TopMm = 0;
    // Each page the report makes with its form feeds is one sheet, however
    // long (job().FitPages), rather than cut at the form's length.
    bool WholePages = false;
};

} // namespace kvalon
