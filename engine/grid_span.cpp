#include "engine/grid_span.h"

#include "engine/checked.h"
#include "engine/error.h"
#include "engine/printer_language.h"
#include "engine/source_file.h"

#include <algorithm>
#include <string>

namespace kvalon {

namespace {

constexpr char kLineFeed = '\n';

// How far right the widest line of the pages reaches, in cells from the left
// edge: the indentation and the cut line's cells (bold markers take none). A
// line feed inside a line starts a new printed line at the edge; a form feed
// ends a printed line as the page reader ends it there.
std::int64_t widest_printed_reach(const PrintJob& j) {
    const char marker = j.SkipChar.empty() ? '\0' : j.SkipChar[0];
    const auto keep = static_cast<std::size_t>(j.CharsPerLine);
    // Read where the job's own source reads: a report held in memory has no
    // file of that name on disk.
    SourceFile source;
    source.read_from(source_file().inputs());
    source.open(j.SourcePath);
    std::string line;
    std::int64_t widest = 0;
    while (!source.at_end()) {
        bool ends_at_form_feed = false;
        source.read_line(line, keep, ends_at_form_feed);
        std::int64_t reach = j.LeftIndent;
        for (const char c : line) {
            if (c == kLineFeed) {
                reach = 0;
            } else if (c != marker) {
                widest = std::max(widest, ++reach);
            }
        }
    }
    return widest;
}

} // namespace

std::int16_t grid_span(const PrintJob& j, std::int16_t allowance, std::int64_t widest_net) {
    const std::int64_t planned = j.CharsPerLine + 2 + 2 * allowance;
    // Where LongestLine counts every printed cell (the ESC/P mode), the
    // planned span always holds the widest line.
    const std::int64_t bound = j.LeftIndent + std::min<std::int64_t>(j.CharsPerLine, widest_net);
    if (page_model(j).longest_line_is_printed_width() || bound <= planned) {
        return checked_int16(planned, ErrorKind::Layout, j.SourcePath);
    }
    const std::int64_t reach = widest_printed_reach(j);
    if (reach <= planned) {
        return checked_int16(planned, ErrorKind::Layout, j.SourcePath);
    }
    return checked_int16(reach + 2 + allowance, ErrorKind::LineTooLong, j.SourcePath);
}

} // namespace kvalon
