#include "file_identity.h"

#include "wide_text.h"

#include <windows.h>

namespace kvalon {

bool file_identity(const std::string& path, FileDevice& device, FileNumber& number) {
    // Folders open only with backup semantics; a link is not followed.
    const HANDLE file = ::CreateFileW(
        wide_text(path).c_str(), FILE_READ_ATTRIBUTES,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
        FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = ::GetFileInformationByHandle(file, &info) != 0;
    ::CloseHandle(file);
    if (known) {
        device = info.dwVolumeSerialNumber;
        number = static_cast<FileNumber>(info.nFileIndexHigh) << 32 | info.nFileIndexLow;
    }
    return known;
}

} // namespace kvalon
