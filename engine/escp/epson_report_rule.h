#pragma once

#include <string>
#include <string_view>

namespace kvalon {

// Whether a report is read as an Epson-compatible printer reads it when the
// user did not say: only when the text mode would lose its layout. The
// report holds a bit image whose data the file holds whole (ESC K, L, Y, Z,
// *, ^, .) or a command that moves the head or sets the form (line spacing,
// feeds, form length, moves, margins, tab stops). Attributes alone (reset,
// bold, underline, pitch, condensed ...) keep a report plain text, as it has
// always printed.
bool reads_as_epson(std::string_view bytes);

// The same for the beginning of the report at `path` (its first MiB); false
// when the file cannot be read.
bool report_reads_as_epson(const std::string& path);

} // namespace kvalon
