#include "engine/history/job_history.h"

#include "engine/atomic_file.h"
#include "engine/error.h"
#include "platform/file_placing.h"
#include "platform/private_folder_making.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace kvalon {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kCopyChunk = 1 << 20;
constexpr std::int64_t kSecondsADay = 24 * 3600;

[[noreturn]] void fail_writing(const std::string& path, int error_number) {
    throw KvalonError(ErrorKind::FileWrite, path, system_reason(error_number));
}

// A folder only the user may enter: made so, or left so.
void make_own_folder(const fs::path& folder) {
    std::error_code error;
    fs::create_directory(folder, error);
    const fs::file_status status = fs::symlink_status(folder, error);
    if (error || !fs::is_directory(status)) {
        fail_writing(folder.string(), error ? error.value() : ENOTDIR);
    }
    fs::permissions(folder, fs::perms::owner_all, fs::perm_options::replace, error);
    if (error) {
        fail_writing(folder.string(), error.value());
    }
}

void copy_report(const std::string& from, const std::string& folder) {
    const std::string target = folder + "/report";
    std::ifstream source(from, std::ios::binary);
    if (!source) {
        throw KvalonError(ErrorKind::File, from);
    }
    TemporaryFile copy(folder, "report", target);
    std::string chunk(kCopyChunk, '\0');
    while (source) {
        source.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        copy.write_all(std::string_view(chunk.data(), static_cast<std::size_t>(source.gcount())));
    }
    if (source.bad()) {
        throw KvalonError(ErrorKind::File, from);
    }
    // Not synced: the print's own wait is not to grow by the disk's. The
    // record, placed after it and synced, is what makes the job count.
    copy.close();
    if (const int error = rename_into_place(copy.path(), target); error != 0) {
        fail_writing(target, error);
    }
    copy.keep();
}

std::int64_t size_of(const fs::path& file) {
    std::error_code error;
    const std::uintmax_t size = fs::file_size(file, error);
    return error ? 0 : static_cast<std::int64_t>(size);
}

std::optional<JobRecord> record_in(const fs::path& folder) {
    std::ifstream file(folder / "record", std::ios::binary);
    if (!file) {
        return std::nullopt;
    }
    const std::string text((std::istreambuf_iterator<char>(file)),
                           std::istreambuf_iterator<char>());
    return read_record_text(text);
}

// Folder names begin with the time, padded, and the clock's fraction of its
// second: jobs kept within one second keep their order too.
std::string folder_template(const std::string& history, std::int64_t time) {
    const auto since = std::chrono::system_clock::now().time_since_epoch();
    const auto fraction =
        std::chrono::duration_cast<std::chrono::microseconds>(since).count() % 1000000;
    char stamp[48];
    std::snprintf(stamp, sizeof stamp, "%016lld.%06lld",
                  static_cast<long long>(std::max<std::int64_t>(time, 0)),
                  static_cast<long long>(fraction));
    return history + "/" + stamp + "-XXXXXX";
}

} // namespace

bool remove_kept_job(const std::string& folder) {
    std::error_code error;
    fs::remove_all(folder, error);
    return !error;
}

void JobHistory::make_history_folder() const {
    const fs::path history(m_settings.folder);
    std::error_code error;
    fs::create_directories(history.parent_path().parent_path(), error);
    make_own_folder(history.parent_path());
    make_own_folder(history);
}

std::string JobHistory::keep(const std::string& report_path, const JobRecord& record) {
    make_history_folder();
    const MadeFolder made = make_private_folder(folder_template(m_settings.folder, record.time));
    if (made.error != 0) {
        fail_writing(m_settings.folder, made.error);
    }
    try {
        copy_report(report_path, made.path);
        update(made.path, record);
    } catch (...) {
        remove_kept_job(made.path);
        throw;
    }
    prune(record.time);
    return made.path;
}

void JobHistory::update(const std::string& folder, const JobRecord& record) {
    replace_file_atomically(folder + "/record", record_text(record), 0600);
}

std::vector<KeptJob> JobHistory::list() const {
    std::vector<KeptJob> jobs;
    std::error_code error;
    for (fs::directory_iterator entry(m_settings.folder, error), end; !error && entry != end;
         entry.increment(error)) {
        if (!entry->is_directory(error) || entry->is_symlink(error)) {
            continue;
        }
        if (std::optional<JobRecord> record = record_in(entry->path())) {
            const std::int64_t bytes =
                size_of(entry->path() / "report") + size_of(entry->path() / "record");
            jobs.push_back({entry->path().string(), std::move(*record), bytes});
        }
    }
    std::sort(jobs.begin(), jobs.end(), [](const KeptJob& a, const KeptJob& b) {
        return a.record.time != b.record.time ? a.record.time > b.record.time : a.folder > b.folder;
    });
    return jobs;
}

void JobHistory::prune(std::int64_t now) {
    std::vector<KeptJob> jobs = list();
    const std::int64_t oldest_kept = now - std::int64_t{m_settings.days} * kSecondsADay;
    std::int64_t total = 0;
    for (const KeptJob& kept : jobs) {
        total += kept.bytes;
    }
    // Newest first: the oldest are at the back.
    while (!jobs.empty() &&
           (jobs.back().record.time < oldest_kept || total > m_settings.most_bytes)) {
        total -= jobs.back().bytes;
        remove_kept_job(jobs.back().folder);
        jobs.pop_back();
    }
}

} // namespace kvalon
