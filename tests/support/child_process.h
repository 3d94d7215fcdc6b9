#pragma once

#include <map>
#include <string>
#include <sys/types.h>
#include <vector>

namespace kvalon::testing {

struct RunResult {
    int status = -1; // exit status, or 128 + signal
    std::string out;
    std::string err;
};

// Runs a program (searched on PATH) with the given arguments; `env` entries
// are added to (or, with an empty value, removed from) the current
// environment. `input` is its standard input; it runs in `working_dir` when
// one is given. A program that cannot be started ends with status 127.
RunResult run_program(const std::vector<std::string>& argv,
                      const std::map<std::string, std::string>& env = {},
                      const std::string& input = {}, const std::string& working_dir = {});

// A program left running with its standard input on a pipe the test writes;
// its output goes where the test's own goes.
struct StartedProgram {
    pid_t pid = -1; // -1 when it could not be started
    int input = -1;
};
StartedProgram start_program(const std::vector<std::string>& argv,
                             const std::map<std::string, std::string>& env = {});

// A program left running with standard input on /dev/null and its standard
// error appended to the file `log` (a service's journal, read as it grows).
// The process number, or -1.
pid_t start_logged_program(const std::vector<std::string>& argv,
                           const std::map<std::string, std::string>& env, const std::string& log);

// Waits for a started program's end: its exit status, or 128 + signal.
int wait_for_program(pid_t pid);

} // namespace kvalon::testing
