// The ESC/P sequence reader over any report. The first byte gives the
// attributes carried into the first line (one bit each), the second the cells
// a page line holds; the rest is the report, read line by line (lines end at
// CR). For every line: cells are printable bytes, widths add up, the page
// reader's cut (fed in two pieces) reads back as the cells that fit with the
// same attributes after it in a few bytes a cell, and the screen text holds
// exactly the cells.
#include "engine/escp_line.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

using kvalon::EscpAttributes;
using kvalon::EscpLine;

EscpAttributes attributes_from(std::uint8_t bits) {
    EscpAttributes a;
    a.emphasized = (bits & 1) != 0;
    a.double_strike = (bits & 2) != 0;
    a.italic = (bits & 4) != 0;
    a.underline = (bits & 8) != 0;
    a.wide = (bits & 16) != 0;
    return a;
}

void check_cells(const EscpLine& line) {
    std::int64_t width = 0;
    for (const kvalon::EscpCell& cell : line.cells) {
        const bool control = (cell.code < 32 && cell.code != '\t') || cell.code == 127;
        if (control || cell.code == kvalon::EscpReader::kBoldMarker) {
            std::abort();
        }
        width += cell.attributes.width();
    }
    if (width != line.width) {
        std::abort();
    }
}

void check_cut(std::string_view text, const EscpAttributes& carried, const EscpLine& whole,
               const EscpAttributes& after, std::int64_t most) {
    std::string kept;
    kvalon::EscpLineCut cut(carried, most, kept);
    const std::size_t split = text.size() / 3;
    cut.take(text.substr(0, split));
    cut.take(text.substr(split));
    if (cut.finish() != after || cut.form_feed() != whole.form_feed) {
        std::abort();
    }
    EscpAttributes again = carried;
    const EscpLine reread = kvalon::read_escp_line(kept, again);
    if (again != after || reread.width > most || reread.cells.size() > whole.cells.size() ||
        kept.size() > static_cast<std::size_t>(8 * most + 3)) {
        std::abort();
    }
    for (std::size_t i = 0; i < reread.cells.size(); ++i) {
        if (reread.cells[i] != whole.cells[i]) {
            std::abort();
        }
    }
    // Only a cell or line feed that does not fit ends the kept part early.
    const auto line_feeds = static_cast<std::int64_t>(std::count(kept.begin(), kept.end(), '\n'));
    if (reread.cells.size() < whole.cells.size() &&
        reread.width + line_feeds + whole.cells[reread.cells.size()].attributes.width() <= most) {
        std::abort();
    }
}

void check_screen(std::string_view text, const EscpLine& whole) {
    std::string cells;
    for (const char c : kvalon::without_escp_sequences(text)) {
        if (c != kvalon::EscpReader::kBoldMarker && c != '\n' && c != '\f') {
            cells.push_back(c);
        }
    }
    if (cells.size() != whole.cells.size()) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr std::size_t kHead = 2;
    if (size < kHead) {
        return 0;
    }
    EscpAttributes carried = attributes_from(data[0]);
    const std::int64_t most = 1 + data[1] % 64;
    const std::string_view report(reinterpret_cast<const char*>(data + kHead), size - kHead);
    std::size_t start = 0;
    while (start <= report.size()) {
        const std::size_t end = std::min(report.find('\r', start), report.size());
        const std::string_view text = report.substr(start, end - start);
        EscpAttributes after = carried;
        const EscpLine whole = kvalon::read_escp_line(text, after);
        check_cells(whole);
        check_cut(text, carried, whole, after, most);
        check_screen(text, whole);
        carried = after;
        start = end + 1;
    }
    return 0;
}
