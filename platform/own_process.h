#pragma once

#include <string>

namespace kvalon {

// The path of the program this process runs, as the system knows it; empty
// when it cannot tell.
std::string own_program_path();

// A waitpid status as a shell tells it: the exit status, or 128 and the
// signal that ended the process.
int exit_status_of(int wait_status);

// Ends this process at once, as a power cut or SIGKILL would: nothing is
// cleaned up. For tests that stop a run at a chosen point.
[[noreturn]] void end_outright();

} // namespace kvalon
