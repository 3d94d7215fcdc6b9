#include "engine/read_page.h"

#include "engine/checked.h"
#include "engine/error.h"
#include "engine/line_limit.h"
#include "engine/print_job.h"
#include "engine/printer_language.h"
#include "engine/source_file.h"

#include <cstdint>
#include <limits>
#include <string>

namespace kvalon {

namespace {

const std::string kPageStart = "\r\n\r\n";

// Takes at most LinesPerPage lines; a form feed ends the page early. DOS
// programs write the next page's first line right after the form feed, so
// the text before it is the page's last line and the text after it stays in
// the source as the first line of the next page.
void take_lines(PrintJob& j, SourceFile& source) {
    const std::string indent(static_cast<std::size_t>(j.LeftIndent > 0 ? j.LeftIndent : 0), ' ');
    const auto keep = static_cast<std::size_t>(j.CharsPerLine > 0 ? j.CharsPerLine : 0);
    std::string line;
    for (int taken = 0; taken < j.LinesPerPage; ++taken) {
        if (source.at_end()) {
            return;
        }
        bool ends_at_form_feed = false;
        source.read_line(line, keep, ends_at_form_feed);
        if (ends_at_form_feed && line.empty()) {
            return;
        }
        j.PageText += indent;
        j.PageText += line;
        j.PageText += "\r\n";
        if (ends_at_form_feed) {
            return;
        }
    }
}

// Page numbers are 16-bit: the page after kMostPages cannot be numbered.
static_assert(kMostPages == std::numeric_limits<std::int16_t>::max());
std::int16_t next_page_number(const PrintJob& j) {
    return checked_int16(j.PageNumber + 1, ErrorKind::TooManyPages, j.SourcePath);
}

} // namespace

void read_page() {
    PrintJob& j = job();
    if (j.LinesPerPage < 1) {
        throw KvalonError(ErrorKind::Layout, j.SourcePath);
    }
    page_model(j).read_page(j, source_file());
}

void read_text_page(PrintJob& j, SourceFile& source) {
    do {
        j.PageText = kPageStart;
        take_lines(j, source);
        j.SourceDone = source.at_end();
        if (j.PageText == kPageStart) {
            j.PageText.clear();
        } else {
            j.PageNumber = next_page_number(j);
        }
    } while (j.PageText.empty() && !source.at_end());
    j.PrintText = j.PageText;
}

} // namespace kvalon
