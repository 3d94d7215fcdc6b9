#pragma once

namespace kvalon {

// The whole program: options, platform, start sequence, and the one place
// where a failure becomes the user's message and a non-zero exit status.
int run_program(int argc, char** argv);

} // namespace kvalon
