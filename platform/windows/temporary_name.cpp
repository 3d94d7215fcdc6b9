#include "platform/temporary_name.h"

#include "platform/run_stamp.h"
#include "wide_text.h"

#include <filesystem>
#include <optional>
#include <windows.h>

namespace kvalon {

namespace {

// Windows keeps when each process was made, to the 100 ns, as an absolute
// time: a process id given again cannot match it, whatever boot the file is
// from, so the boot part of the stamp stands empty.
constexpr std::string_view kNoBoot = "00000000";

std::optional<std::string> start_time_of(unsigned long pid) {
    const HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (process == nullptr) {
        return std::nullopt;
    }
    FILETIME made{}, ended{}, kernel{}, user{};
    DWORD status = 0;
    const bool known = ::GetProcessTimes(process, &made, &ended, &kernel, &user) != 0 &&
                       ::GetExitCodeProcess(process, &status) != 0;
    ::CloseHandle(process);
    if (!known || status != STILL_ACTIVE) {
        return std::nullopt;
    }
    return std::to_string(static_cast<unsigned long long>(made.dwHighDateTime) << 32 |
                          made.dwLowDateTime);
}

bool run_is_gone(const RunStamp& stamp) {
    if (stamp.boot != kNoBoot || stamp.pid.size() > 10) {
        return true;
    }
    const std::optional<std::string> start = start_time_of(std::stoul(stamp.pid));
    return !start || *start != stamp.start;
}

} // namespace

std::string temporary_name_stamp() {
    const unsigned long pid = ::GetCurrentProcessId();
    return std::string(kRunStampMarker) + std::string(kNoBoot) + "." + std::to_string(pid) + "." +
           start_time_of(pid).value_or("0") + ".";
}

bool made_by_a_gone_run(const std::string& name) {
    const std::optional<RunStamp> stamp = stamp_in_kept(name);
    return stamp && run_is_gone(*stamp);
}

// The user's temporary folder and the folders beside a target are the user's
// own: a name of ours there is a file or a helper's folder of ours.
void remove_abandoned_temporaries(const std::string& folder) {
    namespace fs = std::filesystem;
    std::error_code failed;
    for (fs::directory_iterator entry(fs::path(wide_text(folder)), failed), end;
         !failed && entry != end; entry.increment(failed)) {
        const std::optional<RunStamp> stamp =
            stamp_in(utf8_text(entry->path().filename().wstring()));
        if (!stamp || !run_is_gone(*stamp)) {
            continue;
        }
        std::error_code ignored;
        if (entry->is_symlink(ignored)) {
            continue;
        }
        if (entry->is_regular_file(ignored)) {
            fs::remove(entry->path(), ignored);
        } else if (entry->is_directory(ignored)) {
            fs::remove_all(entry->path(), ignored);
        }
    }
}

} // namespace kvalon
