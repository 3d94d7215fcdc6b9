#pragma once

#include "platform/owned_fd.h"
#include "platform/signal_cleanup.h"

#include <string>
#include <vector>

namespace kvalon {

// What a helper program (gs) is started with. It is found on the PATH; it
// gets only the descriptors named here: standard input on /dev/null, its
// standard output and error on one pipe of ours, and `passed` as descriptors
// 3, 4, ... in that order (where the helper reads them as /dev/fd/3, ...).
struct HelperCall {
    std::vector<std::string> words; // the program's name first
    std::vector<int> passed;
    std::vector<std::string> environment; // NAME=VALUE, the whole of it
    // A job that must finish whatever becomes of us (a watched folder's job,
    // whose claim it holds) is not killed when we are.
    bool outlives_us = false;
};

// A helper program running in a process group of its own: a terminal's
// Ctrl-C does not reach it, our ending-signal handler kills the group
// (platform/signal_cleanup.h), and so does the object when it goes before the
// helper has ended. Where the system can, it is killed too when we are
// (SIGKILL, which no handler sees), so that no conversion runs on for nobody,
// unless the call says it outlives us.
class HelperProcess {
public:
    explicit HelperProcess(const HelperCall& call);
    ~HelperProcess();
    HelperProcess(const HelperProcess&) = delete;
    HelperProcess& operator=(const HelperProcess&) = delete;

    // 0, or the errno why it could not be started (ENOENT: not installed).
    int start_error() const { return m_error; }
    // What it says on its standard output and error until it closes them,
    // at most `most_bytes` of it kept. False when `seconds` pass first; the
    // helper is then killed.
    bool read_output(int seconds, std::size_t most_bytes, std::string& said);
    // Waits for its end; the waitpid status.
    int wait();

private:
    // 0, or the errno why the helper could not be started.
    int start(const HelperCall& call, int output);
    void end_group();

    ProcessId m_pid = -1;
    int m_error = 0;
    int m_output = -1;
    SignalCleanupEntry m_cleanup;
};

// The name the helper opens the `index`th of HelperCall::passed by
// ("/dev/fd/3" for the first).
std::string passed_file_name(std::size_t index);

// True when a status from HelperProcess::wait tells an end of the helper's
// own with exit status 0.
bool ended_well(int wait_status);

// The environment of this process, without the names in `dropped`
// ("TMPDIR"), with `added` ("TMPDIR=/x") after it.
std::vector<std::string> environment_with(const std::vector<std::string>& dropped,
                                          const std::vector<std::string>& added);

} // namespace kvalon
