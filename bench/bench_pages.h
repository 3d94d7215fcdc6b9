#pragma once

#include "printing/page_description.h"

#include <string>
#include <vector>

namespace kvalon::bench {

// Pages as the program lays out a report in MIK: landscape A4, 9 points,
// one line of the report per row of cells, bold switched by code 2, single
// box characters as strokes, shades as fills. The runs and strokes are what
// the printer surface hands to a sink.
class BenchPages {
public:
    BenchPages();
    // The page made of `lines` (MIK bytes, without line ends).
    const PageDescription& page(const std::vector<std::string>& lines);

private:
    void add_line(const std::string& line, std::size_t row);
    void merge_strokes();

    PageDescription m_page;
    std::vector<Stroke> m_strokes;
};

} // namespace kvalon::bench
