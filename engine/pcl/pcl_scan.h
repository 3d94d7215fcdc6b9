#pragma once

#include "engine/pcl/pcl_state.h"

#include <cstdint>

namespace kvalon {

class SourceFile;

// A page holds at most this much: more is not a page a printer prints.
inline constexpr std::int64_t kMostPclMarksOnPage = 250'000;
inline constexpr std::int64_t kMostPclBytesOnPage = std::int64_t{16} << 20;

// What planning learns from reading a whole PCL job.
struct PclScan {
    std::int32_t pages = 0;      // pages with something printed
    std::int32_t line_feeds = 0; // LF
    bool printed = false;        // anything at all
    // The first printed page: its size, orientation and text length.
    PclState first_page;
    bool sizes_differ = false; // a later page is of another size than the first
    std::int64_t widest = 0;   // the rightmost mark on any page
};

// Reads the job from where the source stands to its end, from `start`.
// Throws KvalonError: File when the source cannot be read, TooManyPages past
// a 32-bit page count, PageTooFull for a page of more than the bounds above.
PclScan scan_pcl_source(SourceFile& source, const PclState& start);

} // namespace kvalon
