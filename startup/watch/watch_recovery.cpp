#include "startup/watch/watch_recovery.h"

#include "engine/error.h"
#include "engine/messages.h"
#include "engine/pdf_trailer.h"
#include "platform/spool_files.h"
#include "startup/watch/folder_watcher.h"
#include "startup/watch/job_log.h"
#include "startup/watch/queue_job_search.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>

namespace kvalon {

namespace {

bool whole_pdf_at(const std::string& path) {
    std::error_code error;
    if (path.empty() || !std::filesystem::is_regular_file(path, error)) {
        return false;
    }
    try {
        refuse_broken_pdf(path);
        return true;
    } catch (const KvalonError&) {
        return false;
    }
}

void count_as_printed(FolderWatcher& watcher, const std::string& claimed,
                      const SpoolJournal::Entry& entry, const std::string& decision) {
    log_line(shown_in_log(entry.name) + decision);
    if (entry.step != SpoolJournal::Step::Sent) {
        watcher.journal().sent(claimed);
    }
    watcher.place_printed(claimed, entry.name);
}

void decide_begun(FolderWatcher& watcher, const std::string& claimed,
                  const SpoolJournal::Entry& entry, int held) {
    if (watcher.job().pdf_folder) {
        if (whole_pdf_at(entry.target)) {
            count_as_printed(watcher, claimed, entry, messages::kPdfWholeAfterStop);
            return;
        }
        log_line(shown_in_log(entry.name) + messages::kPdfMissingAfterStop);
        watcher.print_claimed(claimed, entry.name, held);
        return;
    }
    switch (queue_has_job_for(watcher.job(), claimed, entry.begun_at)) {
    case QueueAnswer::HasJob:
        count_as_printed(watcher, claimed, entry, messages::kQueueJobAfterStop);
        return;
    case QueueAnswer::NoJob:
        log_line(shown_in_log(entry.name) + messages::kNoQueueJobAfterStop);
        watcher.print_claimed(claimed, entry.name, held);
        return;
    case QueueAnswer::NoAnswer:
        break;
    }
    const std::string placed = watcher.place_failed(claimed, entry.name, messages::kMaybePrinted);
    log_line(shown_in_log(entry.name) + messages::kSpoolJobNotPrinted + messages::kMaybePrinted +
             messages::kJobMovedTo + shown_in_log(placed));
}

} // namespace

void finish_left_jobs(FolderWatcher& watcher) {
    int error = 0;
    std::vector<FolderEntry> left = list_folder(watcher.claim_path(""), error);
    std::sort(left.begin(), left.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
    std::optional<std::map<std::string, SpoolJournal::Entry>> journal;
    for (const FolderEntry& file : left) {
        const FileClaim claim(watcher.claim_path(file.name));
        if (!file.regular || !claim.held() || watcher.left_alone(file.name)) {
            continue; // a running watcher's, or the job of one still running
        }
        if (!journal) {
            journal = watcher.journal().read();
        }
        const auto known = journal->find(file.name);
        SpoolJournal::Entry entry{SpoolJournal::Step::Claimed, file.name, {}};
        if (known != journal->end() && known->second.step != SpoolJournal::Step::Done) {
            entry = known->second;
        }
        switch (entry.step) {
        case SpoolJournal::Step::Claimed:
        case SpoolJournal::Step::Done:
            log_line(shown_in_log(entry.name) + messages::kClaimedBeforeStop);
            watcher.print_claimed(file.name, entry.name, claim.fd());
            break;
        case SpoolJournal::Step::Begun:
            decide_begun(watcher, file.name, entry, claim.fd());
            break;
        case SpoolJournal::Step::Sent:
            count_as_printed(watcher, file.name, entry, messages::kSentNotMoved);
            break;
        }
    }
}

} // namespace kvalon
