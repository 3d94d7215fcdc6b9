#pragma once

#include <string>
#include <vector>

namespace kvalon {

// Words joined into one Windows command line that a program's own start-up
// splits back into the same words: blanks and quotes quoted, backslashes
// doubled only before a quote.
std::string quoted_command_line(const std::vector<std::string>& words);

} // namespace kvalon
