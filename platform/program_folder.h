#pragma once

#include <string>

namespace kvalon {

// The folder the running program's file is in, links followed; empty when
// the system does not say.
std::string running_program_folder();

} // namespace kvalon
