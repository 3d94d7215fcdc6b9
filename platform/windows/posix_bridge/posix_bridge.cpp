#include "posix_bridge.h"

#include "../wide_text.h"

#include <random>
#include <string_view>
#include <windows.h>

using kvalon::wide_text;

int kvalon_bridge_open(const char* path, int flags, int mode) {
    return ::_wopen(wide_text(path).c_str(), flags | _O_BINARY, mode);
}

namespace {

// The facts of an open handle; false when the system has none.
bool facts_of(HANDLE file, struct kvalon_stat* info) {
    BY_HANDLE_FILE_INFORMATION facts{};
    if (file == INVALID_HANDLE_VALUE || !::GetFileInformationByHandle(file, &facts)) {
        errno = EBADF;
        return false;
    }
    *info = {};
    const bool folder = (facts.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const bool read_only = (facts.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
    const DWORD kind = ::GetFileType(file);
    info->st_mode = static_cast<unsigned short>((folder                   ? _S_IFDIR
                                                 : kind == FILE_TYPE_DISK ? _S_IFREG
                                                                          : _S_IFCHR) |
                                                _S_IREAD | (read_only ? 0 : _S_IWRITE));
    info->st_dev = facts.dwVolumeSerialNumber;
    info->st_ino =
        static_cast<unsigned long long>(facts.nFileIndexHigh) << 32 | facts.nFileIndexLow;
    info->st_nlink = static_cast<short>(facts.nNumberOfLinks);
    info->st_size = static_cast<long long>(
        static_cast<unsigned long long>(facts.nFileSizeHigh) << 32 | facts.nFileSizeLow);
    // 100 ns steps since 1601, as seconds since 1970.
    const unsigned long long written =
        static_cast<unsigned long long>(facts.ftLastWriteTime.dwHighDateTime) << 32 |
        facts.ftLastWriteTime.dwLowDateTime;
    info->st_mtime = static_cast<long long>(written / 10000000ULL) - 11644473600LL;
    return true;
}

} // namespace

int kvalon_stat(const char* path, struct kvalon_stat* info) {
    const HANDLE file = ::CreateFileW(wide_text(path).c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        errno = error == ERROR_ACCESS_DENIED ? EACCES : ENOENT;
        return -1;
    }
    const bool known = facts_of(file, info);
    ::CloseHandle(file);
    return known ? 0 : -1;
}

int kvalon_fstat(int fd, struct kvalon_stat* info) {
    const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
    if (handle == INVALID_HANDLE_VALUE) {
        errno = EBADF;
        return -1;
    }
    if (::GetFileType(handle) != FILE_TYPE_DISK) {
        *info = {};
        info->st_mode = _S_IFCHR;
        return 0;
    }
    return facts_of(handle, info) ? 0 : -1;
}

ssize_t pread(int fd, void* buffer, std::size_t count, off_t offset) {
    const HANDLE file = reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
    OVERLAPPED at{};
    const auto where = static_cast<unsigned long long>(offset);
    at.Offset = static_cast<DWORD>(where & 0xFFFFFFFFu);
    at.OffsetHigh = static_cast<DWORD>(where >> 32);
    DWORD got = 0;
    const DWORD asked = count > 0x40000000 ? 0x40000000 : static_cast<DWORD>(count);
    if (!::ReadFile(file, buffer, asked, &got, &at)) {
        if (::GetLastError() == ERROR_HANDLE_EOF) {
            return 0;
        }
        errno = EIO;
        return -1;
    }
    return static_cast<ssize_t>(got);
}

int mkostemp(char* name_template, int flags) {
    static constexpr std::string_view kLetters =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    const std::size_t length = std::string_view(name_template).size();
    if (length < 6) {
        errno = EINVAL;
        return -1;
    }
    std::random_device seed;
    std::mt19937 random(seed());
    std::uniform_int_distribution<std::size_t> pick(0, kLetters.size() - 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        for (std::size_t i = length - 6; i < length; ++i) {
            name_template[i] = kLetters[pick(random)];
        }
        const int fd = kvalon_bridge_open(name_template, flags | O_CREAT | O_EXCL | O_RDWR,
                                          _S_IREAD | _S_IWRITE);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

int fcntl(int fd, int command, int) {
    if (::_get_osfhandle(fd) == -1) {
        errno = EBADF;
        return -1;
    }
    return command == F_DUPFD_CLOEXEC ? ::_dup(fd) : 0;
}
