#pragma once

namespace kvalon {

// The whole program as `kvalon-p` runs it: options, the start sequence of a
// report, queue set-up, and the one place where a failure becomes the user's
// message and a non-zero exit status. Without a report it starts the windows'
// own program; it loads no window library itself.
int run_program(int argc, char** argv);

} // namespace kvalon
