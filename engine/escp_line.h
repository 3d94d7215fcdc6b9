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
    unsigned char code = 0; // MIK
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
// at `most_cells` cells: the printed characters up to the cut, and every
// sequence, control byte, line feed and form feed of the whole line, so
// that the attributes they set or end still take effect. Sequences longer than any that sets an attribute
// (images, downloads) are left out whole; read again, the kept bytes give
// the same cells with the same attributes.
class EscpLineCut {
public:
    EscpLineCut(const EscpAttributes& carried, std::int64_t most_cells, std::string& kept);

    void take(std::string_view piece);
    // Ends the line; the attributes that carry on to the next line.
    EscpAttributes finish();
    bool form_feed() const { return m_form_feed; }

private:
    static constexpr std::size_t kLongestKeptSequence = 16;

    void take_sequence_byte(char byte);

    EscpReader m_reader;
    std::int64_t m_most_cells;
    std::string& m_kept;
    std::string m_sequence; // the sequence being read, while it is short
    bool m_sequence_too_long = false;
    std::int64_t m_cells = 0;
    bool m_cut = false;
    bool m_form_feed = false;
};

// The text without its sequences and without the control bytes that take no
// cell; line ends, bold markers and form feeds stay.
std::string without_escp_sequences(std::string_view text);

// The page as the preview shows it: in the ESC/P mode without its sequences,
// otherwise as it is.
std::string escp_screen_page(const std::string& page);

} // namespace kvalon
