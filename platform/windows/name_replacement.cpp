#include "platform/name_replacement.h"

#include "wide_text.h"

#include <cerrno>
#include <windows.h>

namespace kvalon {

// Written through, so that the new name is on the disk when this returns.
int replace_name(const std::string& from, const std::string& to) {
    if (::MoveFileExW(wide_text(from).c_str(), wide_text(to).c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return 0;
    }
    switch (::GetLastError()) {
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
        return EACCES;
    case ERROR_NOT_SAME_DEVICE:
        return EXDEV;
    case ERROR_DISK_FULL:
        return ENOSPC;
    default:
        return ENOENT;
    }
}

} // namespace kvalon
