#pragma once

#include "engine/escp_attributes.h"
#include "engine/escp_reader.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kvalon {

// One printed character of a line and the attributes it prints with.
struct EscpCell {
    unsigned char code = 0; // in the job's code page
    EscpAttributes attributes;
    bool operator==(const EscpCell&) const = default;
};

// A line of a report (without its CR) as the printer prints it.
struct EscpLine {
    std::vector<EscpCell> cells;
    std::int64_t width = 0; // cells taken: double-width characters take two
    bool form_feed = false; // a page break outside the sequences
};

// Reads one line with the attributes carried over from the line before,
// and leaves in `carried` those that carry on to the next.
EscpLine read_escp_line(std::string_view line, EscpAttributes& carried);

// Keeps of a line, fed in pieces, what the page prints when lines are cut
// at `most_cells` cells: the printed characters up to the cut, each preceded
// by ESC ! n, SO or DC4 where its attributes differ from the character's
// before, the bold markers that count, line feeds (which take a cell of the
// cut, as without the mode), and at the end ESC ! n for the attributes the
// line leaves. Read again from the same attributes, the kept bytes give the
// same cells and leave the same attributes; the report's own sequences,
// however many, are not kept.
class EscpLineCut {
public:
    EscpLineCut(const EscpAttributes& carried, std::int64_t most_cells, std::string& kept);

    void take(std::string_view piece);
    // Ends the line; the attributes that carry on to the next line.
    EscpAttributes finish();
    bool form_feed() const { return m_form_feed; }

private:
    bool fits(int cells);
    void keep_attributes(const EscpAttributes& wanted);

    EscpReader m_reader;
    EscpAttributes m_kept_state; // the attributes the kept bytes leave
    std::int64_t m_most_cells;
    std::string& m_kept;
    std::int64_t m_cells = 0;
    bool m_cut = false;
    bool m_marker_pending = false; // an odd number of bold markers since the last kept cell
    bool m_form_feed = false;
};

// The text without its sequences and without the control bytes that take no
// cell; line ends, bold markers and form feeds stay.
std::string without_escp_sequences(std::string_view text);

// The page as the preview shows it: in the ESC/P mode without its sequences,
// otherwise as it is.
std::string escp_screen_page(const std::string& page);

} // namespace kvalon
