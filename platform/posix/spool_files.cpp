#include "platform/spool_files.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kvalon {

namespace {

std::int64_t nanoseconds(const timespec& time) {
    return static_cast<std::int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

int write_whole(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t wrote = ::write(fd, text.data() + done, text.size() - done);
        if (wrote < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        done += static_cast<std::size_t>(wrote);
    }
    return 0;
}

} // namespace

std::vector<FolderEntry> list_folder(const std::string& folder, int& error) {
    std::vector<FolderEntry> entries;
    error = 0;
    DIR* listing = ::opendir(folder.c_str());
    if (listing == nullptr) {
        error = errno;
        return entries;
    }
    const int folder_fd = ::dirfd(listing);
    while (const dirent* item = ::readdir(listing)) {
        const std::string name = item->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        struct stat info {};
        FolderEntry entry;
        entry.name = name;
        if (::fstatat(folder_fd, item->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0) {
            entry.regular = S_ISREG(info.st_mode);
            entry.size = info.st_size;
            entry.changed_ns = std::max(nanoseconds(info.st_mtim), nanoseconds(info.st_ctim));
            entry.device = info.st_dev;
            entry.inode = info.st_ino;
        }
        entries.push_back(entry);
    }
    ::closedir(listing);
    return entries;
}

bool is_folder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

int make_folder(const std::string& path) {
    if (::mkdir(path.c_str(), 0755) == 0 || (errno == EEXIST && is_folder(path))) {
        return 0;
    }
    return errno;
}

int make_owner_only_folder(const std::string& path) {
    if (::mkdir(path.c_str(), 0700) == 0 || (errno == EEXIST && is_folder(path))) {
        return 0;
    }
    return errno;
}

int rename_no_replace(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return errno;
    }
    // A file system without the exclusive rename: a hard link is exclusive
    // too, and the old name goes after it.
    if (::link(from.c_str(), to.c_str()) != 0) {
        return errno;
    }
    return ::unlink(from.c_str()) == 0 ? 0 : errno;
}

int replace_file(const std::string& from, const std::string& to) {
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

int remove_file(const std::string& path) {
    return ::unlink(path.c_str()) == 0 || errno == ENOENT ? 0 : errno;
}

int sync_folder(const std::string& folder) {
    OwnedFd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd.valid()) {
        return errno;
    }
    return ::fsync(fd.get()) == 0 ? 0 : errno;
}

int append_synced(const std::string& path, const std::string& text) {
    OwnedFd fd(::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600));
    if (!fd.valid()) {
        return errno;
    }
    if (const int error = write_whole(fd.get(), text); error != 0) {
        return error;
    }
    if (::fsync(fd.get()) != 0) {
        return errno;
    }
    return fd.close_checked();
}

bool read_small_file(const std::string& path, std::string& text) {
    OwnedFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.valid()) {
        return false;
    }
    text.clear();
    char buffer[8192];
    for (;;) {
        const ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
        if (got == 0) {
            return true;
        }
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        text.append(buffer, static_cast<std::size_t>(got));
    }
}

FileClaim::FileClaim(const std::string& path) {
    OwnedFd fd(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
    if (fd.valid() && ::flock(fd.get(), LOCK_EX | LOCK_NB) == 0) {
        m_file = std::move(fd);
    }
}

bool FileClaim::names_held_file(const std::string& path) const {
    struct stat held {};
    struct stat named {};
    return m_file.valid() && ::fstat(m_file.get(), &held) == 0 &&
           ::lstat(path.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
           held.st_ino == named.st_ino;
}

FolderLock::FolderLock(const std::string& path, bool exclusive, bool wait) {
    OwnedFd fd(::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600));
    const int how = (exclusive ? LOCK_EX : LOCK_SH) | (wait ? 0 : LOCK_NB);
    int result = -1;
    while (fd.valid() && (result = ::flock(fd.get(), how)) != 0 && errno == EINTR) {
    }
    if (result == 0) {
        m_file = std::move(fd);
    }
}

// A read lease is granted only while nobody has the file open for writing.
bool closed_by_writers(const std::string& path) {
    OwnedFd fd(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
    if (!fd.valid()) {
        return true;
    }
    if (::fcntl(fd.get(), F_SETLEASE, F_RDLCK) != 0) {
        return errno != EAGAIN && errno != EBUSY;
    }
    ::fcntl(fd.get(), F_SETLEASE, F_UNLCK);
    return true;
}

bool name_matches(const std::string& pattern, const std::string& name) {
    return ::fnmatch(pattern.c_str(), name.c_str(), FNM_PERIOD) == 0;
}

} // namespace kvalon
