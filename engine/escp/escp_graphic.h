#pragma once

#include "engine/bit_image.h"
#include "engine/escp/escp_parser.h"
#include "engine/escp/escp_state.h"

#include <cstdint>

namespace kvalon {

// Dots printed by one graphics command: the picture and where its dots stand.
struct EscpDots {
    std::int64_t x = 0; // the top-left corner of the first dot's place
    std::int64_t y = 0;
    std::int64_t column_pitch = 0; // from one column of dots to the next
    std::int64_t row_pitch = 0;    // from one row of dots to the next
    BitImage image;
};

// Gathers the dots of one bit-image or raster command as its data comes: the
// columns of ESC K, L, Y, Z, * and ^ (the top dot in the highest bit of a
// column's first byte) and the rows of ESC . (the leftmost dot in the highest
// bit). Densities are those of 24-pin printers (8-dot graphics 1/60 inch
// high a dot, 24-dot 1/180, 48-dot 1/360); ESC ^ is 9-pin graphics, 1/72.
class EscpGraphic {
public:
    // `mode` is the ESC * density of ESC K, L, Y and Z; the dots start at the
    // print head and stop at the right margin.
    void start(const EscpCommand& command, unsigned mode, const EscpState& state);
    void add(unsigned char byte);
    // The dots received, as far as the data went.
    EscpDots finish();
    // How far the print head moves right after the whole command.
    std::int64_t advance() const { return m_declared_columns * m_dots.column_pitch; }

private:
    void add_column_byte(unsigned char byte);
    void add_row_byte(unsigned char byte);

    EscpDots m_dots;
    std::int64_t m_declared_columns = 0;
    unsigned m_bytes_per_column = 0; // 0: rows of ESC .
    bool m_nine_dot = false;
    std::uint64_t m_received = 0;
};

} // namespace kvalon
