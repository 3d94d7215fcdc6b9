#include "platform/temporary_name.h"

#include "platform/run_stamp.h"

#include <cctype>
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace kvalon {

namespace {

constexpr std::string_view kMarker = kRunStampMarker;
constexpr std::size_t kBootLength = kRunStampBootLength;

std::string first_line(const std::string& path) {
    std::ifstream file(path);
    std::string line;
    std::getline(file, line);
    return line;
}

// The first characters of the kernel's id of this boot: a file from an
// earlier boot has a maker that is certainly gone.
std::string boot_id() {
    std::string id = first_line("/proc/sys/kernel/random/boot_id").substr(0, kBootLength);
    for (char& c : id) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return id.size() == kBootLength ? id : std::string(kBootLength, '0');
}

// The start time of process `pid` in clock ticks since the boot (the 22nd
// field of its stat line, counted after the command name, which may hold
// blanks and brackets); nothing when there is no such process or it has
// ended and only waits to be reaped (a zombie).
std::optional<std::string> start_time_of(const std::string& pid) {
    const std::string line = first_line("/proc/" + pid + "/stat");
    const std::size_t name_end = line.rfind(')');
    if (name_end == std::string::npos) {
        return std::nullopt;
    }
    std::istringstream fields(line.substr(name_end + 1));
    std::string state;
    std::string field;
    fields >> state;
    for (int index = 4; index <= 22 && fields >> field; ++index) {
    }
    if (state == "Z" || state == "X" || field.empty()) {
        return std::nullopt;
    }
    return field;
}

bool run_is_gone(const RunStamp& stamp) {
    if (stamp.boot != boot_id()) {
        return true;
    }
    const std::optional<std::string> start = start_time_of(stamp.pid);
    return !start || *start != stamp.start;
}

struct FolderCloser {
    void operator()(DIR* folder) const { ::closedir(folder); }
};

} // namespace

std::string temporary_name_stamp() {
    const std::string pid = std::to_string(::getpid());
    return std::string(kMarker) + boot_id() + "." + pid + "." + start_time_of(pid).value_or("0") +
           ".";
}

bool made_by_a_gone_run(const std::string& name) {
    const std::optional<RunStamp> stamp = stamp_in_kept(name);
    return stamp && run_is_gone(*stamp);
}

// A shared folder may hold files of other users under names like ours: only a
// regular file we own, or a folder we own that only we may enter, is removed. Another user cannot
// put a file of theirs under that name in between: a folder that others may write has the sticky
// bit, or they could remove our files anyway.
void remove_abandoned_temporaries(const std::string& folder) {
    const std::unique_ptr<DIR, FolderCloser> entries(::opendir(folder.c_str()));
    if (!entries) {
        return;
    }
    while (const dirent* entry = ::readdir(entries.get())) {
        const std::optional<RunStamp> stamp = stamp_in(entry->d_name);
        if (!stamp || !run_is_gone(*stamp)) {
            continue;
        }
        const std::string path = folder + "/" + entry->d_name;
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || info.st_uid != ::geteuid()) {
            continue;
        }
        if (S_ISREG(info.st_mode)) {
            ::unlink(path.c_str());
        } else if (S_ISDIR(info.st_mode) && (info.st_mode & 077) == 0) {
            // A private folder of a helper's files (engine/private_folder.h).
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        }
    }
}

} // namespace kvalon
