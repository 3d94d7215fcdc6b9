#include "engine/replace_target.h"

#include "engine/atomic_file.h"
#include "engine/error.h"
#include "engine/messages.h"

#include <cerrno>
#include <climits>
#include <fstream>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace kvalon {

namespace {

// The kernel gives up after as many links in one name.
constexpr int kMostLinks = 40;
constexpr mode_t kPermissionBits = 0777;
constexpr mode_t kNewFileBits = 0666;

// In a folder others may write (its group or others write bit, sticky or
// not), anyone who may write there may have planted a link or moved one into
// place, so only a link of ours or of root is followed. The kernel's own rule
// (fs.protected_symlinks) covers sticky folders only, and only when it is on.
bool link_may_be_planted(const struct stat& link, const std::string& folder) {
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0) {
        return true;
    }
    const bool shared = (info.st_mode & (S_IWGRP | S_IWOTH)) != 0;
    return shared && link.st_uid != ::geteuid() && link.st_uid != 0;
}

std::string link_destination(const std::string& link, const std::string& target) {
    std::vector<char> text(PATH_MAX + 1);
    const ssize_t length = ::readlink(link.c_str(), text.data(), text.size());
    if (length < 0 || static_cast<std::size_t>(length) >= text.size()) {
        throw KvalonError(ErrorKind::FileWrite, target,
                          system_reason(length < 0 ? errno : ENAMETOOLONG));
    }
    const std::string destination(text.data(), static_cast<std::size_t>(length));
    if (destination.empty() || destination.front() == '/') {
        return destination;
    }
    return folder_of(link) + "/" + destination;
}

// The umask as the kernel reports it, so that it need not be changed to be
// read; where it does not report it, it is read the old way.
mode_t current_umask() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("Umask:", 0) == 0) {
            return static_cast<mode_t>(std::stoul(line.substr(6), nullptr, 8));
        }
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

} // namespace

ReplaceTarget find_replace_target(const std::string& target, NotOrdinaryTarget not_ordinary) {
    std::string path = target;
    for (int links = 0;; ++links) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0) {
            if (errno == ENOENT) {
                return ReplaceTarget{path};
            }
            throw KvalonError(ErrorKind::FileWrite, target, system_reason(errno));
        }
        if (S_ISLNK(info.st_mode)) {
            if (links == kMostLinks) {
                throw KvalonError(ErrorKind::FileWrite, target, system_reason(ELOOP));
            }
            if (link_may_be_planted(info, folder_of(path))) {
                throw KvalonError(ErrorKind::FileWrite, target, messages::kForeignLink);
            }
            path = link_destination(path, target);
            continue;
        }
        if (S_ISDIR(info.st_mode)) {
            throw KvalonError(ErrorKind::FileWrite, target, system_reason(EISDIR));
        }
        if (!S_ISREG(info.st_mode)) {
            if (not_ordinary == NotOrdinaryTarget::Refuse) {
                throw KvalonError(ErrorKind::NotRegularFile, target);
            }
            return ReplaceTarget{target};
        }
        return ReplaceTarget{path, true, static_cast<mode_t>(info.st_mode & kPermissionBits),
                             info.st_uid, info.st_gid};
    }
}

// Root replacing a user's report must not hand it to root; a user replacing a
// file of a group they are not in cannot keep that group, and then must not
// open the file to their own group.
int give_replaced_attributes(int fd, const ReplaceTarget& target) {
    if (!target.exists) {
        return ::fchmod(fd, kNewFileBits & ~current_umask()) == 0 ? 0 : errno;
    }
    mode_t mode = target.mode;
    struct stat made {};
    if (::fstat(fd, &made) != 0) {
        return errno;
    }
    if ((made.st_uid != target.owner || made.st_gid != target.group) &&
        ::fchown(fd, target.owner, target.group) != 0 && made.st_gid != target.group &&
        ::fchown(fd, static_cast<uid_t>(-1), target.group) != 0) {
        mode &= static_cast<mode_t>(~S_IRWXG);
    }
    return ::fchmod(fd, mode) == 0 ? 0 : errno;
}

} // namespace kvalon
