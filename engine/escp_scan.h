#pragma once

#include <cstdint>

namespace kvalon {

class SourceFile;

// What planning needs to know of a report read as the printer reads it.
struct EscpScan {
    std::int32_t line_count = 0;   // lines, not counting those of one form feed
    std::int64_t widest = 0;       // printed cells of the widest printed line
    std::int64_t longest_page = 0; // most lines in a row between form-feed lines
    bool paginated = false;        // the report has form-feed lines of its own
};

// Reads the open source from its position to its end. The attributes carry
// over from line to line, so a line in double width counts its cells twice.
// Throws KvalonError(TooManyPages) when the line count leaves its range.
EscpScan scan_escp_source(SourceFile& source);

} // namespace kvalon
