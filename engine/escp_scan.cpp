#include "engine/escp_scan.h"

#include "engine/error.h"
#include "engine/escp_reader.h"
#include "engine/source_file.h"

#include <algorithm>
#include <limits>
#include <string_view>

namespace kvalon {

namespace {

struct ScannedLine {
    std::int64_t bytes = 0;
    std::int64_t cells = 0;
    bool form_feed = false;
    bool lone_form_feed() const { return bytes == 1 && form_feed; }
};

ScannedLine scan_line(SourceFile& source, EscpReader& reader) {
    ScannedLine line;
    source.read_line_pieces([&](std::string_view piece) {
        line.bytes += static_cast<std::int64_t>(piece.size());
        for (const char c : piece) {
            const EscpByte kind = reader.take(static_cast<unsigned char>(c));
            if (kind == EscpByte::Cell) {
                line.cells += reader.attributes().width();
            } else if (kind == EscpByte::FormFeed) {
                line.form_feed = true;
            }
        }
    });
    reader.end_line();
    return line;
}

} // namespace

// A line that holds a form feed ends the report's page and is not printed;
// the lines between two such lines are one page as the program made it.
EscpScan scan_escp_source(SourceFile& source) {
    EscpScan scan;
    EscpReader reader;
    std::int64_t run = 0;
    while (!source.at_end()) {
        const ScannedLine line = scan_line(source, reader);
        if (!line.lone_form_feed()) {
            if (scan.line_count == std::numeric_limits<std::int32_t>::max()) {
                throw KvalonError(ErrorKind::TooManyPages, source.path());
            }
            ++scan.line_count;
        }
        if (line.form_feed) {
            scan.paginated = true;
            scan.longest_page = std::max(scan.longest_page, run);
            run = 0;
            continue;
        }
        ++run;
        scan.widest = std::max(scan.widest, line.cells);
    }
    scan.longest_page = std::max(scan.longest_page, run);
    return scan;
}

} // namespace kvalon
