#include "startup/answer_file.h"

#include "engine/error.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace kvalon {

namespace {
constexpr const char* kAnswerName = "TMPPRNT1.TMP";

void fail(const std::string& path, int reason, const std::string& temporary) {
    if (!temporary.empty()) {
        std::remove(temporary.c_str());
    }
    throw KvalonError(ErrorKind::FileWrite, path, system_reason(reason));
}
} // namespace

std::string answer_folder(const std::string& source_path) {
    const std::filesystem::path folder = std::filesystem::path(source_path).parent_path();
    return folder.empty() ? std::string(".") : folder.string();
}

void write_answer_file(const std::string& folder, std::int16_t lines_per_page) {
    const std::string target = (std::filesystem::path(folder) / kAnswerName).string();
    std::string temporary = (std::filesystem::path(folder) / ".TMPPRNT1.XXXXXX").string();
    const int descriptor = mkstemp(temporary.data());
    if (descriptor < 0) {
        fail(target, errno, {});
    }
    const std::string content = std::to_string(lines_per_page) + "\r\n";
    const ssize_t written = ::write(descriptor, content.data(), content.size());
    const int write_error = errno;
    if (written != static_cast<ssize_t>(content.size()) || ::fsync(descriptor) != 0) {
        ::close(descriptor);
        fail(target, written < 0 ? write_error : ENOSPC, temporary);
    }
    if (::close(descriptor) != 0) {
        fail(target, errno, temporary);
    }
    ::chmod(temporary.c_str(), 0644);
    if (std::rename(temporary.c_str(), target.c_str()) != 0) {
        fail(target, errno, temporary);
    }
}

} // namespace kvalon
