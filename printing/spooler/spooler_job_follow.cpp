#include "printing/spooler/spooler_job_follow.h"

#include "engine/error.h"
#include "engine/messages.h"

#include <string>

namespace kvalon {

namespace {

// The spooler is looked at this often while a job is followed.
constexpr int kLooksPerSecond = 4;

JobProgress progress_of(const SpoolerJobLook& look) {
    JobProgress progress;
    progress.state = look.printing ? JobProgress::State::Printing
                     : look.paused ? JobProgress::State::Held
                                   : JobProgress::State::Waiting;
    progress.printer_message = look.status;
    return progress;
}

} // namespace

std::string follow_spooler_job(const SpoolerApi& spooler, const FollowedJob& job) {
    const long looks = static_cast<long>(job.wait_seconds) * kLooksPerSecond;
    for (long i = 0; i <= looks; ++i) {
        const SpoolerJobLook look = spooler.look_at_job(job.printer, job.job);
        if (look.failed) {
            throw KvalonError(ErrorKind::Printer, job.printer,
                              look.status.empty() ? messages::kJobAborted : look.status);
        }
        if (look.gone) {
            return {};
        }
        if (job.watch && !job.watch(progress_of(look))) {
            return {};
        }
        if (i < looks) {
            spooler.pause();
        }
    }
    return messages::kStoppedWatching + job.printer + messages::kStoppedWatchingAfter +
           std::to_string(job.wait_seconds) + messages::kStoppedWatchingNotYetPrinted;
}

} // namespace kvalon
