#include "platform/descriptor_io.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace kvalon {

namespace {

void wait_until(int fd, short event) {
    pollfd ready{fd, event, 0};
    ::poll(&ready, 1, -1);
}

} // namespace

int open_for_reading(const std::string& path, OwnedFd& file, FileFacts& facts) {
    file.reset(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!file.valid()) {
        return errno;
    }
    if (const int error = facts_of(file.get(), facts); error != 0) {
        file.reset();
        return error;
    }
    if (facts.type == FileType::Regular && ::fcntl(file.get(), F_SETFL, O_RDONLY) != 0) {
        const int error = errno;
        file.reset();
        return error;
    }
    return 0;
}

long long read_some(int fd, char* into, std::size_t count) {
    for (;;) {
        const ssize_t got = ::read(fd, into, count);
        if (got >= 0) {
            return got;
        }
        if (errno == EINTR) {
            continue;
        }
        // A caller may hand over its end of a pipe set not to wait: the bytes
        // are still coming.
        if (errno == EAGAIN) {
            wait_until(fd, POLLIN);
            continue;
        }
        return -errno;
    }
}

std::string read_at(int fd, std::int64_t offset, std::size_t count) {
    std::string bytes(count, '\0');
    const ssize_t got = ::pread(fd, bytes.data(), count, static_cast<off_t>(offset));
    bytes.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return bytes;
}

int write_all(int fd, std::string_view bytes, int when_nothing_taken) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written < 0 && errno == EAGAIN) {
            wait_until(fd, POLLOUT);
            continue;
        }
        if (written <= 0) {
            return written < 0 ? errno : when_nothing_taken;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

int sync_to_disk(int fd) {
    return ::fsync(fd) == 0 ? 0 : errno;
}

long long free_bytes(int fd) {
    struct statvfs space {};
    if (::fstatvfs(fd, &space) != 0) {
        return -1;
    }
    return static_cast<long long>(space.f_bavail * space.f_frsize);
}

bool lacks_room_for(const std::string& folder, std::int64_t bytes) {
    const OwnedFd probe(::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600));
    return probe.valid() && ::posix_fallocate(probe.get(), 0, static_cast<off_t>(bytes)) == ENOSPC;
}

OwnedFd duplicate(int fd) {
    return OwnedFd(::fcntl(fd, F_DUPFD_CLOEXEC, kStandardError + 1));
}

void keep_standard_streams_open() {
    for (int fd = kStandardInput; fd <= kStandardError; ++fd) {
        if (::fcntl(fd, F_GETFD) == -1 && errno == EBADF) {
            const int placeholder = ::open("/dev/null", O_RDWR);
            if (placeholder >= 0 && placeholder != fd) {
                ::dup2(placeholder, fd);
                ::close(placeholder);
            }
        }
    }
}

} // namespace kvalon
