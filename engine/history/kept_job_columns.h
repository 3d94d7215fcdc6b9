#pragma once

#include "engine/history/job_record.h"

#include <string>

namespace kvalon {

// A kept job as its list shows it, the same in --history and in the
// windows: time (local, to the minute), report, pages, where it went and
// how it ended, each on one line (a control byte of a file name shows as ?).
struct KeptJobColumns {
    std::string time;
    std::string report;
    std::string pages;
    std::string printer;
    std::string outcome;
};

KeptJobColumns kept_job_columns(const JobRecord& record);

} // namespace kvalon
