#include "engine/file_checks.h"

#include "engine/error.h"
#include "engine/line_limit.h"
#include "engine/messages.h"

#include <sys/stat.h>

namespace kvalon {

bool is_regular_file(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

PathKind path_kind(const std::string& path) {
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0) {
        return PathKind::Missing;
    }
    if (S_ISREG(info.st_mode)) {
        return PathKind::Regular;
    }
    return S_ISDIR(info.st_mode) ? PathKind::Folder : PathKind::Other;
}

} // namespace kvalon

namespace kvalon {

std::optional<FileIdentity> file_identity(const std::string& path) {
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return std::nullopt;
    }
    return FileIdentity{static_cast<std::uint64_t>(info.st_dev),
                        static_cast<std::uint64_t>(info.st_ino),
                        static_cast<std::int64_t>(info.st_size), modified_ns(info)};
}

void refuse_larger_than_a_report(const std::string& path, std::int64_t size) {
    if (size > kLargestReport) {
        throw KvalonError(ErrorKind::InputTooLarge, path,
                          messages::kLargerThan + std::to_string(kLargestReport) +
                              messages::kBytes);
    }
}

} // namespace kvalon
