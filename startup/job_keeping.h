#pragma once

#include "engine/history/job_history.h"
#include "startup/command_line.h"

#include <ctime>
#include <optional>
#include <string>

namespace kvalon {

struct PrintJob;

// Keeps a batch job in the history (engine/history/): its bytes when its
// printing starts, its outcome when it ends. Keeping never fails a print:
// what cannot be kept is one warning line on standard error, and the job
// prints. A job printed again from the history is not kept once more.
class JobKeeping {
public:
    // `pdf_path` is the PDF file the run prints into (--pdf or KVALON_PDF),
    // empty for a printer: the listing says where the job went.
    JobKeeping(const ProgramOptions& options, const std::string& pdf_path, std::time_t now);
    // The report's bytes as the job read them, with the options it prints with.
    void print_starts(const PrintJob& j);
    void job_printed(const PrintJob& j);
    void job_failed(const std::string& reason);

private:
    void warn(const std::string& text);
    void write_outcome();
    std::optional<JobHistory> m_history;
    std::string m_folder; // the job's, once kept
    JobRecord m_record;
    bool m_warned = false;
};

} // namespace kvalon
