#pragma once

#include "engine/escp/escp_output.h"

#include <cstddef>
#include <variant>
#include <vector>

namespace kvalon {

// The line the printer holds before it prints it: the characters and dots
// placed since the line began, in their order. The printer prints the line
// when the paper moves or the head returns (CR, LF, FF, VT, a feed, the
// page's end, the report's end); ESC l drops it unprinted, as the printer
// clears its buffer for a line that starts afresh at the new margin. A line
// that fills the buffer is printed there, as a printer with a full buffer
// prints, so one line never holds more than a bounded share of memory.
class EscpLineBuffer {
public:
    void hold(const EscpGlyph& glyph);
    void hold(EscpDots dots);
    bool empty() const { return m_held.empty(); }
    bool full() const;
    // Hands the line to `output` and empties the buffer; true when the line
    // leaves a mark on the paper.
    bool print_to(EscpOutput& output);
    void drop();

private:
    std::vector<std::variant<EscpGlyph, EscpDots>> m_held;
    std::size_t m_dot_bytes = 0;
};

} // namespace kvalon
