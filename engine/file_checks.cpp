#include "engine/file_checks.h"

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
