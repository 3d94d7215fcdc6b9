#pragma once

#include <string>

namespace kvalon {

// The program's one writer of its own lines on standard error: "Kvalon-P: "
// and `text` (UTF-8) as one line, then `after` as it is (the usage after an
// unusable command line), flushed at once so that a caller reading both
// streams sees the line before the program ends.
void write_error_line(const std::string& text, const std::string& after = {});

} // namespace kvalon
