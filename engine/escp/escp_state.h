#pragma once

#include "engine/code_page.h"
#include "engine/escp/escp_attributes.h"

#include <array>
#include <cstdint>
#include <vector>

namespace kvalon {

// Positions and lengths on an Epson-compatible printer's page are counted in
// 1/3600 inch: every unit its commands use (1/60, 1/72, 1/120, 1/180, 1/360
// and 1/720 inch, ESC/P 2's defined units m/3600) is a whole number of them.
// The commands are those of 24-pin printers (ESC 3 n is n/180 inch).
inline constexpr std::int64_t kEscpUnitsPerInch = 3600;
inline constexpr std::int64_t kEscpSixthInch = kEscpUnitsPerInch / 6;
// A column of 10 characters to the inch; its letters print at 12 points,
// where our font's letters, 0.6 of their size wide, are a tenth of an inch.
inline constexpr std::int64_t kEscpPicaColumn = kEscpUnitsPerInch / 10;
inline constexpr double kEscpPicaPoints = 12;
// The page a printer starts with: 11 inches of continuous paper, 66 lines.
inline constexpr std::int64_t kEscpDefaultFormLength = 11 * kEscpUnitsPerInch;
// The longest page ESC C and ESC ( C can ask for.
inline constexpr std::int64_t kEscpLongestForm = 22 * kEscpUnitsPerInch;
// The widest line a wide-carriage printer prints (136 columns at 10 cpi):
// the right margin when the report sets none.
inline constexpr std::int64_t kEscpCarriageWidth = 136 * kEscpUnitsPerInch / 10;

// Everything an Epson-compatible printer remembers between two bytes of a
// report, at a place where no sequence is half read: the print head's place
// on the page, the spacing, the page and its margins, the tab stops and the
// attributes. A page is printed again from the state it began with.
struct EscpState {
    EscpAttributes attributes;
    // The print head: x from the left edge of the printable area, y from the
    // top of the form (the top of the characters and dots printed there).
    std::int64_t x = 0;
    std::int64_t y = 0;
    std::int64_t line_spacing = kEscpSixthInch;
    // The form the printer was set to (panel or switches), which ESC @ brings
    // back, and the form in force.
    std::int64_t printer_form_length = kEscpDefaultFormLength;
    std::int64_t form_length = kEscpDefaultFormLength;
    std::int64_t bottom_skip = 0; // ESC N: left blank above the perforation
    // Each page the report makes goes whole onto one sheet ("one report page
    // per sheet"): the paper runs on past the form's length, and a page ends
    // only where the report ends it (a form feed, VT past the last stop,
    // ESC C). Set with the job, not by the report, so ESC @ keeps it.
    bool whole_pages = false;
    std::int64_t left_margin = 0;
    std::int64_t right_margin = kEscpCarriageWidth;
    // Tab stops from the left margin; until ESC D, every eight characters.
    bool tabs_set = false;
    std::vector<std::int64_t> tabs;
    std::vector<std::int64_t> vertical_tabs; // from the top of the form
    // ESC ( U: m/3600 inch; ESC $ and ESC \ take it too once it is set.
    std::int64_t defined_unit = 10;
    bool unit_defined = false;
    std::int64_t extra_space = 0; // ESC SP: added to every character
    std::int64_t fixed_width = 0; // ESC c (HMI): a character's width, 0 when the pitch decides
    // The ESC * densities ESC K, ESC L, ESC Y and ESC Z print with (ESC ?).
    std::array<unsigned char, 4> graphics_modes = {0, 1, 2, 3};
    int high_bit = -1;        // ESC = 0 / ESC > 1: the top bit of every code; -1 as sent
    bool marker_bold = false; // the bold marker (code 2) until the line ends
    bool page_has_print = false;
    // The code page of the graphics table, the report's: set with the
    // printer, not by the report, so ESC @ keeps it.
    CodePageId code_page = CodePageId::Mik;

    // The width of one character printed now, with double width and spacing.
    std::int64_t character_width() const;
    // The same without the spacing: the letter itself.
    std::int64_t letter_width() const;
    // One column of the pitch in force, as margins and tab stops count it.
    std::int64_t column_width() const;
    bool operator==(const EscpState&) const = default;
};

} // namespace kvalon
