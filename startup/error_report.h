#pragma once

#include "engine/error.h"

#include <string>

namespace kvalon {

// The sentence the user reads for a failure, and the exit status it ends with.
std::string message_for(const KvalonError& error);
int exit_status_for(const KvalonError& error);

} // namespace kvalon
