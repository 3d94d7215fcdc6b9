#include "platform/file_placing.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kvalon {

std::size_t longest_file_name() {
    return NAME_MAX;
}

int make_exclusive_file(std::string& name_template, OwnedFd& file) {
    file.reset(::mkostemp(name_template.data(), O_CLOEXEC));
    return file.valid() ? 0 : errno;
}

void remove_if_same(const std::string& path, const FileIdentity& identity) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0 && info.st_dev == identity.device &&
        info.st_ino == identity.inode) {
        ::unlink(path.c_str());
    }
}

int rename_into_place(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

int set_permissions(int fd, unsigned permissions) {
    return ::fchmod(fd, static_cast<mode_t>(permissions)) == 0 ? 0 : errno;
}

int set_owner(int fd, unsigned owner, unsigned group) {
    return ::fchown(fd, static_cast<uid_t>(owner), static_cast<gid_t>(group)) == 0 ? 0 : errno;
}

int set_group(int fd, unsigned group) {
    return ::fchown(fd, static_cast<uid_t>(-1), static_cast<gid_t>(group)) == 0 ? 0 : errno;
}

} // namespace kvalon
