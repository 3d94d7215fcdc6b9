#pragma once

#include "startup/watch/settle_tracker.h"
#include "startup/watch/spool_journal.h"
#include "startup/watch/spooled_job.h"
#include "startup/watch/watch_settings.h"

#include <optional>
#include <string>

namespace kvalon {

class EndingSignalHandOver;

// The folders a watched folder gets beside its files (kClaimFolder too).
inline const std::string kJournalFile = ".kvalon-p-journal";
inline const std::string kPrintedFolder = "printed";
inline const std::string kFailedFolder = "failed";

// Prints the files that appear in a folder, each once, however many watchers
// share the folder and however often they are stopped. A file is taken by
// locking it and renaming it into the claim folder (a file another watcher
// locked or renamed first is its); every step after that is in the journal
// before it is taken, so that a watcher started again finishes what a stopped
// one left (see watch_recovery.h).
class FolderWatcher {
public:
    // Throws KvalonError(CommandLine) when the folder is none, and
    // KvalonError(FileWrite) when its own folders cannot be made in it.
    FolderWatcher(WatchSettings watch, JobSettings job);

    // Prints what is there, then what comes, until an ending signal; after
    // the job in hand it ends the program by that signal.
    [[noreturn]] void run();

    // One look at the folder: the files settled now are printed. For the
    // loop and for a test that drives it.
    void look_once();

    // Prints the claimed file `claimed` (its name in the folder `name`) and
    // moves it out of the claim folder; the caller holds its lock on `held`.
    void print_claimed(const std::string& claimed, const std::string& name, int held);
    // Moves the claimed file into printed/ (or removes it) and records it;
    // where it is now, empty when removed.
    std::string place_printed(const std::string& claimed, const std::string& name);
    // Moves it into failed/ beside its reason; where it is now.
    std::string place_failed(const std::string& claimed, const std::string& name,
                             const std::string& reason);

    SpoolJournal& journal() { return m_journal; }
    std::string claim_path(const std::string& claimed) const;
    const JobSettings& job() const { return m_job; }

private:
    bool wanted(const FolderEntry& entry) const;
    void compact_journal();
    void take(const std::string& name);
    std::string pdf_target_for(const std::string& name) const;

    WatchSettings m_watch;
    JobSettings m_job;
    SpoolJournal m_journal;
    std::string m_claims;
    SettleTracker m_tracker;
    EndingSignalHandOver* m_hand_over = nullptr; // while running
};

// A name in `folder` for a file called `name` that nothing there has, with
// `suffix` free as well: `name`, else "STEM-2.EXT", "STEM-3.EXT", ...
std::string free_name_in(const std::string& folder, const std::string& name,
                         const std::string& suffix = {});

// `name` with every byte but letters, digits, '.', '_' and '-' as '_', not
// starting with '.' or '-', at most 120 bytes: a name that passes through
// any command line and file system.
std::string plain_name(const std::string& name);

} // namespace kvalon
