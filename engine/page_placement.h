#pragma once

#include <cstdint>

namespace kvalon {

// A printer language's page on the sheet: where its origin lies and how
// long one of the language's units is, in millimetres.
struct PagePlacement {
    double left_mm;
    double top_mm;
    double mm_per_unit;

    float x(std::int64_t units) const {
        return static_cast<float>(left_mm + static_cast<double>(units) * mm_per_unit);
    }
    float y(std::int64_t units) const {
        return static_cast<float>(top_mm + static_cast<double>(units) * mm_per_unit);
    }
    float length(std::int64_t units) const {
        return static_cast<float>(static_cast<double>(units) * mm_per_unit);
    }
};

} // namespace kvalon
