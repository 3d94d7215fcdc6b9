#pragma once

#include "platform/signal_cleanup.h"

#include <string>

namespace kvalon {

// Which file a path names now: its volume and its number there (the pair
// the system keeps for as long as the file exists). False when it names none.
bool file_identity(const std::string& path, FileDevice& device, FileNumber& number);

} // namespace kvalon
