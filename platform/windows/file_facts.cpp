#include "platform/file_facts.h"

#include "system_errors.h"
#include "wide_text.h"

#include <cerrno>
#include <filesystem>
#include <io.h>
#include <windows.h>

namespace kvalon {

namespace {

// 100 ns steps since 1601, as nanoseconds since 1970.
std::int64_t nanoseconds_of(const FILETIME& time) {
    constexpr std::int64_t kStepsTo1970 = 116444736000000000LL;
    const auto steps = static_cast<std::int64_t>(
        static_cast<unsigned long long>(time.dwHighDateTime) << 32 | time.dwLowDateTime);
    return (steps - kStepsTo1970) * 100;
}

// Access is the folder's on Windows: every file reads as the user's own, and
// one not to be written as 0444.
FileFacts facts_from(const BY_HANDLE_FILE_INFORMATION& info, FileType type) {
    FileFacts facts;
    facts.type = type;
    facts.identity = FileIdentity{
        info.dwVolumeSerialNumber,
        static_cast<FileNumber>(info.nFileIndexHigh) << 32 | info.nFileIndexLow,
        static_cast<std::int64_t>(static_cast<unsigned long long>(info.nFileSizeHigh) << 32 |
                                  info.nFileSizeLow),
        nanoseconds_of(info.ftLastWriteTime)};
    facts.permissions = (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0 ? 0444 : 0644;
    return facts;
}

FileType type_of(const BY_HANDLE_FILE_INFORMATION& info, Links links) {
    if (links == Links::Look && (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        return FileType::Link;
    }
    return (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? FileType::Folder
                                                                   : FileType::Regular;
}

// A handle that is no file on a disk (a console, a pipe, a device) has no
// identity: it is Other.
int facts_of_handle(HANDLE handle, Links links, FileFacts& facts) {
    if (::GetFileType(handle) != FILE_TYPE_DISK) {
        facts = FileFacts{};
        facts.type = FileType::Other;
        return 0;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(handle, &info)) {
        facts = FileFacts{};
        return errno_of_last_error();
    }
    facts = facts_from(info, type_of(info, links));
    return 0;
}

} // namespace

int facts_at(const std::string& path, Links links, FileFacts& facts) {
    facts = FileFacts{};
    if (path.empty()) {
        return ENOENT;
    }
    const DWORD flags =
        FILE_FLAG_BACKUP_SEMANTICS | (links == Links::Look ? FILE_FLAG_OPEN_REPARSE_POINT : 0);
    const HANDLE file = ::CreateFileW(wide_text(path).c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, flags, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return errno_of_last_error();
    }
    const int error = facts_of_handle(file, links, facts);
    ::CloseHandle(file);
    return error;
}

int facts_of(int fd, FileFacts& facts) {
    const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
    if (handle == INVALID_HANDLE_VALUE) {
        facts = FileFacts{};
        return EBADF;
    }
    return facts_of_handle(handle, Links::Follow, facts);
}

// No user owns a file as POSIX tells it: the checks that compare owners see
// every file as the user's own.
unsigned effective_user() {
    return kRootUser;
}

unsigned current_umask() {
    return 0;
}

int read_link(const std::string& path, std::string& destination) {
    std::error_code error;
    const std::filesystem::path target = std::filesystem::read_symlink(wide_text(path), error);
    if (error) {
        return error.value() != 0 ? EINVAL : EIO;
    }
    destination = utf8_text(target.wstring());
    return 0;
}

} // namespace kvalon
