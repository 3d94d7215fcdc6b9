#pragma once

#include <string>

namespace kvalon {

// A caller may start us with standard input, output or error closed; a file
// we open would then take that number, and a message or a plan meant for the
// caller would be written into it. A closed stream is opened on /dev/null:
// it reads and writes nothing.
void keep_standard_streams_open();

// Writes `text` to standard output at once.
void write_to_stdout(const std::string& text);

} // namespace kvalon
