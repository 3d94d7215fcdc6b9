#pragma once

#include "startup/command_line.h"

#include <functional>
#include <string>

namespace kvalon {

// What the start sequence needs of the platform; the real programs bind
// CUPS and the windows, tests bind fakes.
struct StartHooks {
    std::function<int()> printer_count;
    std::function<void()> bind_printer; // makes printer() the chosen printer
    std::function<void()> install_font;
    std::function<int()> run_interactive; // the menu window; returns the exit status
    std::function<void(const std::string&)> write_output; // standard output
};

// The program's start: resets the job, checks the printer, installs the font,
// reads the command line and takes the batch or the interactive path. Returns
// the exit status of a job that completed or of the windows; every failure
// propagates as KvalonError.
int run_start_sequence(const ProgramOptions& options, StartHooks& hooks);

// Closes the job's source and any document the printer still holds.
void close_job_files();

} // namespace kvalon
