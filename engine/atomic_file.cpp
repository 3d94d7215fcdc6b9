#include "engine/atomic_file.h"

#include "engine/error.h"
#include "platform/name_replacement.h"
#include "platform/temporary_name.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace kvalon {

namespace {

constexpr std::size_t kRandomPart = 6;

// A prefix that would make the name too long for the folder is shortened;
// it keeps its ends, which tell whose file it is.
std::string fitting_prefix(std::string prefix, std::size_t stamp_size) {
    const std::size_t room = NAME_MAX - stamp_size - kRandomPart;
    if (prefix.size() > room) {
        const char last = prefix.back();
        prefix.resize(room - 1);
        prefix.push_back(last);
    }
    return prefix;
}

} // namespace

TemporaryFile::TemporaryFile(const std::string& folder, const std::string& prefix,
                             std::string error_path)
    : m_error_path(std::move(error_path)) {
    // An ending signal between the file's making and its entry in the
    // clean-up table would leave it behind: it waits until the entry is made.
    const SignalDeferral deferral;
    remove_abandoned_temporaries(folder);
    const std::string stamp = temporary_name_stamp();
    std::string pattern = folder + "/" + fitting_prefix(prefix, stamp.size()) + stamp + "XXXXXX";
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0) {
        fail(errno);
    }
    m_fd.reset(fd);
    m_path = pattern;
    struct stat info {};
    if (::fstat(fd, &info) == 0) {
        m_device = info.st_dev;
        m_inode = info.st_ino;
        m_cleanup = SignalCleanupEntry::for_file(m_path, m_device, m_inode);
    }
}

TemporaryFile::~TemporaryFile() {
    if (!m_kept) {
        remove();
    }
}

void TemporaryFile::fail(int error_number) {
    remove();
    throw KvalonError(ErrorKind::FileWrite, m_error_path, system_reason(error_number));
}

void TemporaryFile::write_all(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(m_fd.get(), bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            fail(written < 0 ? errno : ENOSPC);
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

void TemporaryFile::sync_and_close() {
    if (::fsync(m_fd.get()) != 0) {
        fail(errno);
    }
    if (const int error = m_fd.close_checked(); error != 0) {
        fail(error);
    }
}

void TemporaryFile::close() {
    if (const int error = m_fd.close_checked(); error != 0) {
        fail(error);
    }
}

// In a folder others may write to, the name may by now stand for a file of
// theirs: only our own file is removed.
void TemporaryFile::remove() noexcept {
    m_fd.reset();
    if (m_path.empty()) {
        return;
    }
    struct stat info {};
    if (::lstat(m_path.c_str(), &info) == 0 && info.st_dev == m_device && info.st_ino == m_inode) {
        ::unlink(m_path.c_str());
    }
    m_cleanup.release();
    m_path.clear();
}

AtomicReplacement::AtomicReplacement(const std::string& target, NotOrdinaryTarget not_ordinary)
    : m_place(find_replace_target(target, not_ordinary)),
      m_file(folder_of(m_place.path),
             "." + std::filesystem::path(m_place.path).filename().string() + ".", target) {}

void AtomicReplacement::commit() {
    if (const int error = give_replaced_attributes(m_file.fd(), m_place); error != 0) {
        m_file.fail(error);
    }
    place();
}

void AtomicReplacement::commit(mode_t mode) {
    if (::fchmod(m_file.fd(), mode) != 0) {
        m_file.fail(errno);
    }
    place();
}

void AtomicReplacement::place() {
    m_file.sync_and_close();
    if (const int reason = replace_name(m_file.path(), m_place.path); reason != 0) {
        m_file.fail(reason);
    }
    m_file.keep();
}

void replace_file_atomically(const std::string& target, std::string_view content) {
    AtomicReplacement replacement(target, NotOrdinaryTarget::ReplaceTheName);
    replacement.file().write_all(content);
    replacement.commit();
}

void replace_file_atomically(const std::string& target, std::string_view content, mode_t mode) {
    AtomicReplacement replacement(target, NotOrdinaryTarget::ReplaceTheName);
    replacement.file().write_all(content);
    replacement.commit(mode);
}

std::string system_temporary_folder() {
    const char* configured = std::getenv("TMPDIR");
    return configured != nullptr && *configured == '/' ? configured : "/tmp";
}

std::string folder_of(const std::string& path) {
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    return folder.empty() ? std::string(".") : folder.string();
}

} // namespace kvalon
