#pragma once

#include "printing/job_option.h"

#include <string>
#include <vector>

namespace kvalon {

class DestinationInfo;

// An option of a client's job that does not go on to the destination, and why.
struct LeftOutOption {
    enum class Reason {
        DecidedHere,      // the program decides it itself (the paper, the copies, the format)
        DescribesJob,     // the print server's own record of the job (its id, its times)
        UnknownThere,     // the destination has no such option
        UnsupportedValue, // the destination does not take this value
    };
    JobOption option;
    Reason reason = Reason::UnknownThere;
    std::string supported; // for UnsupportedValue: the values the destination takes
};

// The client's options sorted: those the destination job carries, and those
// left out.
struct ClientOptions {
    JobOptions passed;
    std::vector<LeftOutOption> left_out;
};

// Sorts the options CUPS handed over with a client's job: each one that
// `destination` supports goes on (IPP job settings it lists with a value it
// takes, and CUPS's own settings every queue's filters carry out, such as
// landscape and fit-to-page); the paper, the copies and the document format
// stay the program's.
ClientOptions sort_client_options(const DestinationInfo& destination, const JobOptions& options);

} // namespace kvalon
