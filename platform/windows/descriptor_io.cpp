#include "platform/descriptor_io.h"

#include "system_errors.h"
#include "wide_text.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace kvalon {

namespace {

HANDLE handle_of(int fd) {
    return reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
}

// The system takes at most this much in one read or write.
constexpr std::size_t kLongestTransfer = 0x40000000;

unsigned transfer_size(std::size_t count) {
    return static_cast<unsigned>(count < kLongestTransfer ? count : kLongestTransfer);
}

} // namespace

// Folders open too, for their facts, and the report may be renamed or
// removed while it is read, as on POSIX. A name that is no file on a disk
// (a pipe, a device) is told Other, so nothing is read from it.
int open_for_reading(const std::string& path, OwnedFd& file, FileFacts& facts) {
    const HANDLE opened =
        ::CreateFileW(wide_text(path).c_str(), GENERIC_READ,
                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (opened == INVALID_HANDLE_VALUE) {
        file.reset();
        return errno_of_last_error();
    }
    file.reset(::_open_osfhandle(reinterpret_cast<intptr_t>(opened), _O_RDONLY | _O_BINARY));
    if (!file.valid()) {
        ::CloseHandle(opened);
        return EMFILE;
    }
    if (const int error = facts_of(file.get(), facts); error != 0) {
        file.reset();
        return error;
    }
    return 0;
}

// A pipe whose writer has gone reads as its end.
long long read_some(int fd, char* into, std::size_t count) {
    const int got = ::_read(fd, into, transfer_size(count));
    if (got >= 0) {
        return got;
    }
    return errno == EPIPE ? 0 : -errno;
}

// A read at an offset moves a synchronous handle's position: it is put back.
std::string read_at(int fd, std::int64_t offset, std::size_t count) {
    std::string bytes(count, '\0');
    const HANDLE file = handle_of(fd);
    LARGE_INTEGER position{};
    const LARGE_INTEGER none{};
    if (file == INVALID_HANDLE_VALUE || !::SetFilePointerEx(file, none, &position, FILE_CURRENT)) {
        return {};
    }
    OVERLAPPED at{};
    const auto where = static_cast<unsigned long long>(offset);
    at.Offset = static_cast<DWORD>(where & 0xFFFFFFFFu);
    at.OffsetHigh = static_cast<DWORD>(where >> 32);
    DWORD got = 0;
    if (!::ReadFile(file, bytes.data(), transfer_size(count), &got, &at)) {
        got = 0;
    }
    ::SetFilePointerEx(file, position, nullptr, FILE_BEGIN);
    bytes.resize(got);
    return bytes;
}

int write_all(int fd, std::string_view bytes, int when_nothing_taken) {
    while (!bytes.empty()) {
        const int written = ::_write(fd, bytes.data(), transfer_size(bytes.size()));
        if (written <= 0) {
            return written < 0 ? errno : when_nothing_taken;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

// A console or a pipe has nothing to flush.
int sync_to_disk(int fd) {
    const HANDLE file = handle_of(fd);
    if (file == INVALID_HANDLE_VALUE) {
        return EBADF;
    }
    if (::GetFileType(file) != FILE_TYPE_DISK || ::FlushFileBuffers(file)) {
        return 0;
    }
    return errno_of_last_error();
}

long long free_bytes(int fd) {
    std::wstring path(MAX_PATH, L'\0');
    const DWORD length =
        ::GetFinalPathNameByHandleW(handle_of(fd), path.data(), static_cast<DWORD>(path.size()), 0);
    if (length == 0 || length >= path.size()) {
        return -1;
    }
    path.resize(length);
    path = path.substr(0, path.find_last_of(L'\\') + 1);
    ULARGE_INTEGER free{};
    return ::GetDiskFreeSpaceExW(path.c_str(), &free, nullptr, nullptr)
               ? static_cast<long long>(free.QuadPart)
               : -1;
}

bool lacks_room_for(const std::string& folder, std::int64_t bytes) {
    ULARGE_INTEGER free{};
    return ::GetDiskFreeSpaceExW(wide_text(folder).c_str(), &free, nullptr, nullptr) &&
           free.QuadPart < static_cast<unsigned long long>(bytes);
}

// The copy is not handed on to programs started later (_O_NOINHERIT's
// counterpart for a copy).
OwnedFd duplicate(int fd) {
    OwnedFd copy(::_dup(fd));
    if (copy.valid()) {
        ::SetHandleInformation(handle_of(copy.get()), HANDLE_FLAG_INHERIT, 0);
    }
    return copy;
}

void keep_standard_streams_open() {
    for (int fd = kStandardInput; fd <= kStandardError; ++fd) {
        if (::_get_osfhandle(fd) == -1) {
            const int placeholder = ::_wopen(L"NUL", _O_RDWR | _O_BINARY);
            if (placeholder >= 0 && placeholder != fd) {
                ::_dup2(placeholder, fd);
                ::_close(placeholder);
            }
        }
    }
}

} // namespace kvalon
