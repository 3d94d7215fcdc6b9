#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kvalon {

// How far every page is moved on its sheet for one printer, in millimetres:
// across to the right and down (negative: left and up). It puts the print
// where a pre-printed form expects it on a printer that feeds the sheet a
// little off; the plan (cells, font, lines) does not change with it.
struct SheetOffset {
    double across_mm = 0;
    double down_mm = 0;
    bool is_zero() const { return across_mm == 0 && down_mm == 0; }
    bool operator==(const SheetOffset&) const = default;
};

// The largest move either way: a sheet shifted further is no longer an
// offset but another layout.
inline constexpr double kLargestOffsetMm = 100;

// "X,Y" as the user writes it: two numbers, each with a decimal point or a
// decimal comma, negative allowed. With decimal commas the two are parted
// by ';' or by the middle one of three commas ("1,5,-2,5"); "1,5,2" is
// ambiguous and refused. Nothing for an unusable text or a move larger than
// kLargestOffsetMm.
std::optional<SheetOffset> parse_sheet_offset(std::string_view text);

// "X,Y" with a decimal point and at most two decimals ("1.5,-2"), in the
// classic locale.
std::string sheet_offset_text(const SheetOffset& offset);

} // namespace kvalon
