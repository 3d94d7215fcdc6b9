#pragma once

#include "engine/escp/escp_characters.h"

namespace kvalon {

// The print attributes an Epson-compatible printer keeps while it prints a
// report, and the character tables it prints with (engine/escp/escp_characters.h). They last until
// switched off or reset (ESC @), across lines and pages, except the one-line double width of SO,
// which ends with its line.
struct EscpAttributes {
    bool emphasized = false;    // ESC E / ESC F, ESC ! bit 3
    bool double_strike = false; // ESC G / ESC H, ESC ! bit 4
    bool italic = false;        // ESC 4 / ESC 5, ESC ! bit 6
    bool underline = false;     // ESC - n, ESC ! bit 7
    bool wide = false;          // ESC W n, ESC ! bit 5
    bool wide_line = false;     // SO or ESC SO, until DC4 or the end of the line
    bool condensed = false;     // SI or ESC SI until DC2, ESC ! bit 2
    int pitch = 10;             // characters to the inch: ESC P 10, ESC M 12, ESC g 15
    unsigned char character_table = kEscpGraphicsTable; // ESC t n
    unsigned char international = kEscpUsaSet;          // ESC R n

    // Both emphasized and double-strike print darker: we print them bold.
    bool bold() const { return emphasized || double_strike; }
    bool double_width() const { return wide || wide_line; }
    bool operator==(const EscpAttributes&) const = default;
};

} // namespace kvalon
