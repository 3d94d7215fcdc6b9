#pragma once

#include "engine/escp/escp_state.h"

#include <cstdint>

namespace kvalon {

class SourceFile;

// One printer page is printed from its bytes held whole, each character it
// prints kept until the page is drawn: a page past these bounds (a report of
// lines ended by carriage returns alone prints them all on one place) is
// refused at planning, before anything prints, so memory does not grow with
// the report. A page of 136 columns and 132 lines struck four times over
// prints 72,000 characters; a full page of 360-dpi pictures takes 5 MB.
inline constexpr std::int64_t kMostCharactersOnPage = 250'000;
inline constexpr std::int64_t kMostBytesOnPage = std::int64_t{16} << 20;

// What planning needs to know of a report read as the printer reads it.
struct EscpScan {
    std::int32_t line_feeds = 0; // LF and VT outside the sequences
    std::int32_t pages = 0;      // pages with anything printed on them
    std::int64_t widest = 0;     // right edge of the widest printed line, printer units
    // The longest form a printed page was laid out on; with whole pages,
    // also the bottom of the lowest print on a page.
    std::int64_t longest_form = 0;
    std::int32_t form_feeds = 0; // FF, and VT past the last stop
    // With whole pages: a page runs past the longest form a printer takes
    // (kEscpLongestForm), and the scan stopped there.
    bool too_tall = false;
    // The form of the first printed page in lines of the spacing in force
    // when its printing began.
    std::int64_t first_form_lines = 0;
    bool printed = false; // anything visible at all
};

// Reads the open source (read whole, SourceFile::Reading::Bytes) from its
// position to its end, or to the report's end mark, from the printer state
// `start` (its code page, its form, whole pages or not), or, with whole
// pages, until a page is too tall.
// Throws KvalonError(TooManyPages) when the page count leaves its range,
// KvalonError(PageTooFull) for a page past the bounds above.
EscpScan scan_escp_source(SourceFile& source, const EscpState& start);

} // namespace kvalon
