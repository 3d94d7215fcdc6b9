#pragma once

#include "engine/history/history_settings.h"
#include "engine/history/job_record.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kvalon {

// One job the history holds: its folder (the report's bytes in `report`, the
// record in `record`), what the record says and the bytes both take.
struct KeptJob {
    std::string folder;
    JobRecord record;
    std::int64_t bytes = 0;
    std::string report_path() const { return folder + "/report"; }
};

// The last printed jobs of this user, each a folder of its own in the
// history folder, which only the user may enter (0700, files 0600). Records
// are placed atomically: a job killed while kept leaves no record that reads
// as another. Failures throw KvalonError(FileWrite) naming the file.
class JobHistory {
public:
    explicit JobHistory(HistorySettings settings) : m_settings(std::move(settings)) {}
    const HistorySettings& settings() const { return m_settings; }

    // Copies the report at `report_path` as it is now, with `record`, as a new
    // job, then prunes the history as of `record.time`. Returns the job's folder.
    std::string keep(const std::string& report_path, const JobRecord& record);
    // Writes the record of the job in `folder` anew (its outcome known).
    void update(const std::string& folder, const JobRecord& record);
    // The jobs kept, newest first (ties: the later folder first); folders
    // without a readable record are passed over.
    std::vector<KeptJob> list() const;
    // Removes the jobs older than the days as of `now`, then the oldest until
    // the rest fit in the megabytes.
    void prune(std::int64_t now);

private:
    void make_history_folder() const;
    HistorySettings m_settings;
};

// Removes the job's folder and everything in it; false when it could not.
bool remove_kept_job(const std::string& folder);

} // namespace kvalon
