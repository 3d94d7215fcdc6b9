#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kvalon {

// What is kept of one printed job besides its bytes: when it printed, the
// report as the user named it, where it went, the options that shaped it and
// how it ended. Text fields may hold any bytes but NUL.
struct JobRecord {
    std::int64_t time = 0; // seconds since 1970, universal time
    std::string report;    // as given: a path, or standard input's name
    std::optional<int> pages;
    std::string printer; // the queue; empty: the default one
    std::string pdf;     // the PDF file written, when the PDF printer took it
    // The options the job printed with, as the command line gives them
    // ("--code-page=cp866", "--escp", "--copies=2").
    std::vector<std::string> options;
    // The report's words after its name: the action and the font size.
    std::vector<std::string> words;
    enum class Outcome { Printing, Printed, Failed };
    Outcome outcome = Outcome::Printing;
    std::string reason; // why it failed, in the program's words
};

// The record as the history keeps it: a line a field, control bytes and "%"
// written as %XX.
std::string record_text(const JobRecord& record);

// A kept record read back; any bytes may be there (another program of the
// user's may have written them). Nothing when it is not a record of ours:
// wrong first line, a time or page count that is no number, too large.
std::optional<JobRecord> read_record_text(std::string_view text);

} // namespace kvalon
