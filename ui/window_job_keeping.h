#pragma once

#include "engine/history/job_history.h"

#include <ctime>
#include <string>

namespace kvalon {

struct PrintJob;

// The windows' print actions of one report kept in the history as one job:
// the first copies the report's bytes, the later ones add their pages to its
// record. A report opened from the history is not kept again. Keeping never
// stands in a print's way: what cannot be kept is passed over (the batch
// program says so; the windows have their status line for the print).
class WindowJobKeeping {
public:
    // A new report is the windows' job: its first print action keeps it.
    void start(const std::string& report_path);
    // A print action of `pages` pages went to `printer` (or, for the PDF
    // printer, into the file `pdf`) at `now`.
    void printed(JobHistory* history, const PrintJob& j, const std::string& printer,
                 const std::string& pdf, int pages, std::time_t now);

private:
    std::string m_report;
    std::string m_folder; // the job's in the history, once kept
    JobRecord m_record;
};

} // namespace kvalon
