#pragma once

#include <string>
#include <vector>

namespace kvalon {

// This process becomes the program at `path`, started with `words` (its own
// name first) and our environment. Returns only when it could not: the errno
// (ENOENT: no such program).
int become_program(const std::string& path, char** words);

// Runs the program at `path` with `words` (its own name first) and our
// environment, its standard output and error on /dev/null, and waits for its
// end. True when it ended with exit status 0.
bool run_quietly(const std::string& path, const std::vector<std::string>& words);

} // namespace kvalon
