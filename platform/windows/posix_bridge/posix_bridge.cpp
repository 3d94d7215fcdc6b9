#include "posix_bridge.h"

#include "../wide_text.h"

#include <random>
#include <string_view>
#include <windows.h>

using kvalon::wide_text;

int kvalon_bridge_open(const char* path, int flags, int mode) {
    return ::_wopen(wide_text(path).c_str(), flags | _O_BINARY, mode);
}

int kvalon_bridge_stat(const char* path, struct stat* info) {
    struct _stat64 wide_info {};
    if (::_wstat64(wide_text(path).c_str(), &wide_info) != 0) {
        return -1;
    }
    *info = {};
    info->st_dev = wide_info.st_dev;
    info->st_ino = wide_info.st_ino;
    info->st_mode = wide_info.st_mode;
    info->st_nlink = wide_info.st_nlink;
    info->st_size = static_cast<_off_t>(wide_info.st_size);
    info->st_mtime = static_cast<time_t>(wide_info.st_mtime);
    return 0;
}

// A rename onto a file that exists replaces it, as on POSIX.
int kvalon_bridge_rename(const char* from, const char* to) {
    if (::MoveFileExW(wide_text(from).c_str(), wide_text(to).c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return 0;
    }
    errno = ::GetLastError() == ERROR_ACCESS_DENIED ? EACCES : ENOENT;
    return -1;
}

int kvalon_bridge_unlink(const char* path) {
    return ::_wunlink(wide_text(path).c_str());
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
