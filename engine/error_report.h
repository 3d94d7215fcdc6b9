#pragma once

#include "engine/error.h"

#include <string>

namespace kvalon {

// The sentence the user reads for a failure (UTF-8), and the exit status it
// ends the program with.
std::string message_for(const KvalonError& error);
int exit_status_for(const KvalonError& error);

} // namespace kvalon
