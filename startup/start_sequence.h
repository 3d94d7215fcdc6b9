#pragma once

#include "engine/document_kind.h"
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
    // Hands a file that is not a text report to the chosen printer as it is
    // (`title` names it there). Throws KvalonError.
    std::function<void(DocumentKind kind, const std::string& path, const std::string& title)>
        pass_document;
    // Whether the chosen printer reads documents of the kind itself; unset,
    // it does.
    std::function<bool(DocumentKind kind)> reads_document;
    // The copies the bound printer makes of each page; 1 when not set.
    std::function<int()> copies;
    // Called once a job is planned and about to print (not for a plan):
    // the job record holds the report's file and its plan. Unset, nothing.
    std::function<void()> print_starts;
};

// The program's start: resets the job, checks the printer, installs the font,
// reads the command line and takes the batch or the interactive path. A
// named file that is a document, not a text report (engine/document_kind.h),
// is passed on as it is; --plan then says only Document=KIND, and the
// plan-only action is refused (a document has no lines per page). A PCL job
// is printed as a LaserJet prints it, planned and drawn by the program, unless
// it goes to a printer that reads PCL and --render was not asked for, or its
// language was forced to another; the plan-only action then answers its text
// length in lines of 6 to the inch. A printed
// report whose pages came out blank although it holds something to print is
// KvalonError(BlankPages) once its document is handed over. A report whose
// pages times the printer's copies are more sheets than one job may have
// (32,767, the 16-bit page count) is KvalonError(TooManyPages) before its
// first sheet. Returns
// the exit status of a job that completed or of the windows; every failure
// propagates as KvalonError.
int run_start_sequence(const ProgramOptions& options, StartHooks& hooks);

// Closes the job's source and any document the printer still holds.
void close_job_files();

} // namespace kvalon
