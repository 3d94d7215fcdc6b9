#pragma once

#include "engine/code_page_rows.h"
#include "engine/pcl/pcl_macros.h"
#include "engine/pcl/pcl_parser.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kvalon {

// Positions and lengths on a PCL page are counted in 1/7200 inch: dots
// (1/300), decipoints (1/720), the motion indexes' 1/120 and 1/48 inch,
// points and every raster resolution are whole numbers of them.
inline constexpr std::int64_t kPclUnitsPerInch = 7200;
inline constexpr std::int64_t kPclUnitsPerDot = kPclUnitsPerInch / 300;
inline constexpr std::int64_t kPclUnitsPerDecipoint = kPclUnitsPerInch / 720;
inline constexpr std::int64_t kPclUnitsPerPoint = kPclUnitsPerInch / 72;
inline constexpr std::int64_t kPclSixthInch = kPclUnitsPerInch / 6;
// A column of 10 characters to the inch.
inline constexpr std::int64_t kPclPicaColumn = kPclUnitsPerInch / 10;

// The symbol set a font reads the report's bytes in, by PCL's number for it
// (the value times 32 plus the letter's place after '@': 10U is 341); 0 is
// none chosen, the report's own code page.
inline constexpr std::uint32_t kReportSymbolSet = 0;

// A font as a job asks for it by its characteristics.
struct PclFont {
    std::uint32_t symbol_set = kReportSymbolSet;
    bool proportional = false;
    double pitch = 10;  // characters to the inch
    double height = 12; // points
    int style = 0;      // 1: italic
    int weight = 0;     // above 0: bold
    bool operator==(const PclFont&) const = default;

    // How far a character moves the cursor: a proportional font is printed
    // at the pitch its height gives our monospaced face.
    std::int64_t advance() const;
};

struct PclPosition {
    std::int64_t x = 0;
    std::int64_t y = 0;
    bool operator==(const PclPosition&) const = default;
};

// Where raster graphics stand between two rows.
struct PclRaster {
    bool on = false;
    int resolution = 75; // dots to the inch
    int compression = 0;
    std::int64_t left = 0;          // from the logical page's left edge
    std::int64_t width = 0;         // ESC *r#S in dots, 0 when not set
    std::vector<std::uint8_t> seed; // the last row, which delta rows change
    std::vector<std::uint8_t> data; // the row being received
    bool operator==(const PclRaster&) const = default;
};

// Everything a PCL printer remembers between two bytes of a job: the page
// and its margins, the cursor, the motion indexes, the fonts, the rectangle
// and the raster graphics, and the parser itself, so that a page is printed
// again from the state it began with wherever it began.
//
// Places: x from the logical page's left edge, y from the top margin, as
// PCL counts them; the page and the logical page as the page lies.
struct PclState {
    PclParser parser;
    int page_size = 26; // PCL's number: A4
    bool landscape = false;
    std::int64_t page_width = 0;
    std::int64_t page_length = 0;
    std::int64_t logical_left = 0; // the unprintable border at the left
    std::int64_t logical_width = 0;
    std::int64_t top_margin = 0;
    std::int64_t text_length = 0;
    std::int64_t left_margin = 0;
    std::int64_t right_margin = 0;
    bool perforation_skip = true;
    std::int64_t x = 0;
    std::int64_t y = 0;
    // The unit of ESC *p moves and rectangles in dots (ESC &u#D): a dot
    // unless the job sets another.
    std::int64_t pcl_unit = kPclUnitsPerDot;
    std::int64_t hmi = kPclPicaColumn;
    std::int64_t vmi = kPclSixthInch;
    int line_termination = 0;
    bool wrap = false;
    std::vector<PclPosition> pushed;
    std::array<PclFont, 2> fonts{};
    bool secondary = false;
    bool underline = false;
    std::int64_t rectangle_width = 0;
    std::int64_t rectangle_height = 0;
    int pattern = 0;
    PclRaster raster;
    bool in_pjl = false;   // PJL lines after the universal exit
    bool in_other = false; // a language other than PCL, until the next exit
    bool in_hpgl = false;  // HP-GL/2, read past
    std::string pjl_line;  // its start, to find ENTER LANGUAGE
    bool page_has_print = false;
    PclMacros macros;
    CodePageId code_page = CodePageId::Mik;
    bool operator==(const PclState&) const = default;

    const PclFont& font() const { return fonts[secondary ? 1 : 0]; }
    // The state a printer starts with and ESC E brings back: the default page
    // (A4, portrait), its margins, 6 lines and 10 characters to the inch.
    static PclState reset(CodePageId code_page);
    // Sets the page, its margins and text length, the cursor at its top.
    void set_page(int size, bool turn);
    // The default text length for the top margin and VMI in force.
    void default_text_length();
    // The cursor on the first line below the top margin.
    std::int64_t first_line() const { return vmi * 3 / 4; }
};

// A PCL page size: PCL's number, the name the plan gives, its size upright
// (1/7200 inch) and the Windows paper code of the sheet.
struct PclPageSize {
    int pcl = 0;
    const char* name = "";
    std::int64_t width = 0;
    std::int64_t length = 0;
    int windows_code = 0;
    bool metric = false;
};

// The size PCL's number names; nullptr for a number no size has.
const PclPageSize* pcl_page_size(int pcl);

} // namespace kvalon
