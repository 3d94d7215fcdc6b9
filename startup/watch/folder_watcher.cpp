#include "startup/watch/folder_watcher.h"

#include "engine/error.h"
#include "engine/messages.h"
#include "platform/folder_events.h"
#include "platform/own_process.h"
#include "platform/signal_cleanup.h"
#include "platform/spool_files.h"
#include "startup/watch/job_log.h"
#include "startup/watch/watch_recovery.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <set>

namespace kvalon {

namespace {

constexpr std::size_t kLongestPlainName = 120;
constexpr std::size_t kLongestPdfStem = 200;
constexpr std::size_t kLongestNameBesideReason = 240;
// A folder inotify cannot see (a network folder written by another
// computer) is looked at this often anyway.
constexpr auto kLongestWait = std::chrono::milliseconds(1000);
constexpr auto kShortestWait = std::chrono::milliseconds(50);

std::string make_own_folder(const std::string& path) {
    if (const int error = make_folder(path); error != 0) {
        throw KvalonError(ErrorKind::FileWrite, path, system_reason(error));
    }
    return path;
}

// KVALON_WATCH_POLL=1 looks at the folder on the timer alone, as where the
// system tells nothing of it: for a folder whose changes it tells wrongly,
// and for the tests of that way.
bool looks_on_timer_only() {
    const char* asked = std::getenv("KVALON_WATCH_POLL");
    return asked != nullptr && std::string(asked) == "1";
}

// A test stops the watcher outright at a named step, as a crash there would.
void stop_here_when_asked(const char* step) {
    const char* asked = std::getenv("KVALON_TEST_WATCH_STOP_AT");
    if (asked != nullptr && std::string(asked) == step) {
        end_outright();
    }
}

// A test holds the job in hand until a file it names appears, to stop the
// watcher while a job is in hand.
void hold_here_when_asked() {
    const char* release = std::getenv("KVALON_TEST_WATCH_HOLD_UNTIL");
    while (release != nullptr && *release != '\0' && !is_folder(release)) {
        wait_readable({}, 20);
    }
}

// The user knows the file by its name in the folder, not in the claim folder.
std::string told_as(std::string reason, const std::string& claimed, const std::string& known) {
    for (std::size_t at = reason.find(claimed); at != std::string::npos;
         at = reason.find(claimed, at + known.size())) {
        reason.replace(at, claimed.size(), known);
    }
    return reason;
}

std::pair<std::string, std::string> stem_and_extension(const std::string& name) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0) {
        return {name, {}};
    }
    return {name.substr(0, dot), name.substr(dot)};
}

bool taken_in(const std::string& folder, const std::string& name) {
    int error = 0;
    const auto entries = list_folder(folder, error);
    return std::any_of(entries.begin(), entries.end(),
                       [&name](const FolderEntry& entry) { return entry.name == name; });
}

} // namespace

std::string free_name_in(const std::string& folder, const std::string& name,
                         const std::string& suffix) {
    const auto [stem, extension] = stem_and_extension(name);
    std::string candidate = name;
    for (int number = 2;
         taken_in(folder, candidate) || (!suffix.empty() && taken_in(folder, candidate + suffix));
         ++number) {
        candidate = stem + "-" + std::to_string(number) + extension;
    }
    return candidate;
}

std::string plain_name(const std::string& name) {
    std::string plain = name.substr(0, kLongestPlainName);
    for (char& c : plain) {
        const bool kept = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                          (c >= '0' && c <= '9') || c == '.' || c == '_' || c == '-';
        if (!kept) {
            c = '_';
        }
    }
    if (plain.empty() || plain.front() == '.' || plain.front() == '-') {
        plain.insert(0, "_");
    }
    return plain;
}

FolderWatcher::FolderWatcher(WatchSettings watch, JobSettings job)
    : m_watch(std::move(watch)), m_job(std::move(job)),
      m_journal(m_watch.folder + "/" + kJournalFile),
      m_tracker(std::chrono::duration_cast<SettleTracker::Clock::duration>(
          std::chrono::duration<double>(m_watch.settle_seconds))) {
    if (!is_folder(m_watch.folder)) {
        throw KvalonError(ErrorKind::CommandLine, "--watch " + m_watch.folder,
                          messages::kNoSuchFolder);
    }
    m_claims = make_own_folder(m_watch.folder + "/" + kClaimFolder);
    make_own_folder(m_watch.folder + "/" + kPrintedFolder);
    make_own_folder(m_watch.folder + "/" + kFailedFolder);
    if (m_job.pdf_folder) {
        make_own_folder(*m_job.pdf_folder);
    }
}

std::string FolderWatcher::claim_path(const std::string& claimed) const {
    return m_claims + "/" + claimed;
}

bool FolderWatcher::wanted(const FolderEntry& entry) const {
    if (!entry.regular || entry.name.front() == '.') {
        return false;
    }
    return m_watch.patterns.empty() || std::any_of(m_watch.patterns.begin(), m_watch.patterns.end(),
                                                   [&entry](const std::string& glob) {
                                                       return name_matches(glob, entry.name);
                                                   });
}

void FolderWatcher::look_once() {
    int error = 0;
    std::vector<FolderEntry> entries = list_folder(m_watch.folder, error);
    std::erase_if(entries, [this](const FolderEntry& entry) { return !wanted(entry); });
    for (const std::string& name : m_tracker.look(entries, SettleTracker::Clock::now())) {
        if (m_hand_over != nullptr && m_hand_over->taken_signal() != 0) {
            return;
        }
        if (closed_by_writers(m_watch.folder + "/" + name)) {
            m_tracker.forget(name);
            take(name);
        }
    }
}

// The lock comes first, on the file where it stands: whoever renames it into
// the claim folder holds it there already, so a watcher starting meanwhile
// never sees a claimed file that nobody holds.
void FolderWatcher::take(const std::string& name) {
    const std::string path = m_watch.folder + "/" + name;
    const FileClaim claim(path);
    if (!claim.held() || !claim.names_held_file(path)) {
        return;
    }
    std::string claimed = plain_name(name);
    int error = 0;
    for (int number = 2; (error = rename_no_replace(path, claim_path(claimed))) == EEXIST;
         ++number) {
        claimed = plain_name(name) + "~" + std::to_string(number);
    }
    if (error != 0) {
        return; // another watcher took it, or it went away
    }
    sync_folder(m_watch.folder);
    sync_folder(m_claims);
    m_journal.claim(claimed, name);
    print_claimed(claimed, name, claim.fd());
}

std::string FolderWatcher::pdf_target_for(const std::string& name) const {
    if (!m_job.pdf_folder) {
        return {};
    }
    const std::string stem = stem_and_extension(name).first.substr(0, kLongestPdfStem);
    const std::string file = (stem.empty() ? plain_name(name) : stem) + ".pdf";
    return *m_job.pdf_folder + "/" + free_name_in(*m_job.pdf_folder, file);
}

void FolderWatcher::print_claimed(const std::string& claimed, const std::string& name, int held) {
    const std::string target = pdf_target_for(name);
    m_journal.begin(claimed, target);
    hold_here_when_asked();
    SpooledJobResult result = print_spooled_job(m_job, claim_path(claimed), target, held);
    result.reason = told_as(result.reason, claim_path(claimed), m_watch.folder + "/" + name);
    stop_here_when_asked("printed");
    std::string placed;
    if (result.printed) {
        m_journal.sent(claimed);
        stop_here_when_asked("sent");
        placed = place_printed(claimed, name);
    } else {
        placed = place_failed(claimed, name, result.reason);
    }
    log_job(name, result, target.empty() ? m_job.printer_shown : target, placed);
}

std::string FolderWatcher::place_printed(const std::string& claimed, const std::string& name) {
    std::string placed;
    if (m_watch.remove_printed) {
        remove_file(claim_path(claimed));
    } else {
        const std::string folder = m_watch.folder + "/" + kPrintedFolder;
        placed = folder + "/" + free_name_in(folder, name);
        if (const int error = rename_no_replace(claim_path(claimed), placed); error != 0) {
            // Printed all the same: kept where it tells so, never printed again.
            return place_failed(claimed, name,
                                messages::kPrintedNotMoved + folder + " (" + system_reason(error) +
                                    ")");
        }
        sync_folder(folder);
    }
    sync_folder(m_claims);
    m_journal.done(claimed);
    return placed;
}

// A file that cannot be moved out stays claimed, its journal as it is, for
// a watcher started again to decide; this one leaves it alone meanwhile.
std::string FolderWatcher::place_failed(const std::string& claimed, const std::string& name,
                                        const std::string& reason) {
    const std::string folder = m_watch.folder + "/" + kFailedFolder;
    // The reason's name must fit where the longest file name fits.
    const std::string fitting =
        name.size() > kLongestNameBesideReason ? name.substr(0, kLongestNameBesideReason) : name;
    const std::string placed = folder + "/" + free_name_in(folder, fitting, ".reason");
    append_synced(placed + ".reason", reason + "\n");
    if (rename_no_replace(claim_path(claimed), placed) != 0) {
        remove_file(placed + ".reason");
        m_left_alone.insert(claimed);
        return claim_path(claimed);
    }
    sync_folder(folder);
    sync_folder(m_claims);
    m_journal.done(claimed);
    return placed;
}

// What the journal says of the files no longer claimed is of no use again.
void FolderWatcher::compact_journal() {
    m_journal.compact([this] {
        int error = 0;
        std::set<std::string> claimed;
        for (const FolderEntry& entry : list_folder(m_claims, error)) {
            claimed.insert(entry.name);
        }
        return claimed;
    });
}

void FolderWatcher::run() {
    EndingSignalHandOver hand_over;
    m_hand_over = &hand_over;
    std::optional<FolderEvents> events;
    if (!looks_on_timer_only()) {
        events.emplace(m_watch.folder);
    }
    const int told = events ? events->fd() : -1;
    compact_journal();
    log_line(messages::kWatching + shown_in_log(m_watch.folder) +
             (told < 0 ? messages::kWatchingByLooks : std::string()));
    for (;;) {
        if (const int signal_number = hand_over.taken_signal(); signal_number != 0) {
            end_by_signal(signal_number);
        }
        // A watcher beside us may have been stopped since the last look.
        finish_left_jobs(*this);
        look_once();
        const auto wait = std::max<SettleTracker::Clock::duration>(
            kShortestWait, m_tracker.next_wait(SettleTracker::Clock::now(), kLongestWait));
        const int milliseconds =
            static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(wait).count());
        if (wait_readable({told, hand_over.fd()}, milliseconds) == 0) {
            events->drain();
        }
    }
}

} // namespace kvalon
