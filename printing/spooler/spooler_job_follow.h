#pragma once

#include "printing/destination.h"
#include "printing/spooler/spooler_api.h"

#include <string>

namespace kvalon {

// A job handed to the spooler, followed until it leaves the queue or fails.
struct FollowedJob {
    std::string printer;
    int job = 0;
    int wait_seconds = 0; // how long it is followed at most
    JobWatch watch{};     // sees every look; false ends the following
};

// Follows `job` through `spooler`. Throws KvalonError(Printer) with the
// printer's status when the job fails; returns what the user was told when
// it could not be seen to print (still in the queue when the wait ran out),
// empty when it printed or the watch let it go.
std::string follow_spooler_job(const SpoolerApi& spooler, const FollowedJob& job);

} // namespace kvalon
