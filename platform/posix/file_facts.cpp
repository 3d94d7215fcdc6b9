#include "platform/file_facts.h"

#include <cerrno>
#include <climits>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace kvalon {

namespace {

constexpr mode_t kPermissionBits = 0777;

FileType type_of(mode_t mode) {
    if (S_ISREG(mode)) {
        return FileType::Regular;
    }
    if (S_ISDIR(mode)) {
        return FileType::Folder;
    }
    return S_ISLNK(mode) ? FileType::Link : FileType::Other;
}

FileFacts facts_from(const struct stat& info) {
    FileFacts facts;
    facts.type = type_of(info.st_mode);
    facts.identity = FileIdentity{
        static_cast<FileDevice>(info.st_dev), static_cast<FileNumber>(info.st_ino),
        static_cast<std::int64_t>(info.st_size),
        static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec};
    facts.permissions = static_cast<unsigned>(info.st_mode & kPermissionBits);
    facts.owner = static_cast<unsigned>(info.st_uid);
    facts.group = static_cast<unsigned>(info.st_gid);
    return facts;
}

} // namespace

int facts_at(const std::string& path, Links links, FileFacts& facts) {
    struct stat info {};
    const int result =
        links == Links::Follow ? ::stat(path.c_str(), &info) : ::lstat(path.c_str(), &info);
    if (path.empty() || result != 0) {
        facts = FileFacts{};
        return path.empty() ? ENOENT : errno;
    }
    facts = facts_from(info);
    return 0;
}

int facts_of(int fd, FileFacts& facts) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        facts = FileFacts{};
        return errno;
    }
    facts = facts_from(info);
    return 0;
}

unsigned effective_user() {
    return static_cast<unsigned>(::geteuid());
}

// The kernel reports the umask, so that it need not be changed to be read;
// where it does not report it, it is read the old way.
unsigned current_umask() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("Umask:", 0) == 0) {
            return static_cast<unsigned>(std::stoul(line.substr(6), nullptr, 8));
        }
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<unsigned>(mask);
}

int read_link(const std::string& path, std::string& destination) {
    std::vector<char> text(PATH_MAX + 1);
    const ssize_t length = ::readlink(path.c_str(), text.data(), text.size());
    if (length < 0 || static_cast<std::size_t>(length) >= text.size()) {
        return length < 0 ? errno : ENAMETOOLONG;
    }
    destination.assign(text.data(), static_cast<std::size_t>(length));
    return 0;
}

} // namespace kvalon
