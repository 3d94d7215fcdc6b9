#pragma once

namespace kvalon {

// Pages `first` to `last` of the report, counted from 1 as the preview counts.
struct PageRange {
    int first = 1;
    int last = 1;
};

} // namespace kvalon
