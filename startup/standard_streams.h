#pragma once

#include "platform/descriptor_io.h"

#include <string>

namespace kvalon {

// Writes `text` to standard output at once.
void write_to_stdout(const std::string& text);

} // namespace kvalon
