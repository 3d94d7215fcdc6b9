#include "printing/pdf_target_file.h"

#include "engine/error.h"
#include "engine/messages.h"
#include "engine/source_file.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string_view>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <vector>

namespace kvalon {

namespace {

// The trailer is a few dozen bytes; this is ample.
constexpr off_t kTailBytes = 1024;
constexpr std::string_view kEndMark = "%%EOF";
constexpr std::string_view kStartXref = "startxref";
constexpr std::string_view kXref = "xref";
// Less room than one buffer of the writer counts as a full file system.
constexpr unsigned long long kNearlyFullBytes = 64 * 1024;

bool is_stream_target(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode);
}

bool is_the_report(const struct stat& target) {
    const SourceFile& report = source_file();
    return report.is_open() &&
           report.identity().device == static_cast<std::uint64_t>(target.st_dev) &&
           report.identity().inode == static_cast<std::uint64_t>(target.st_ino);
}

// A folder cannot be replaced by a document, nor can the report the job is
// printing (named again, or through a link); say so before anything is written.
std::string checked_target(const std::string& target) {
    struct stat info {};
    if (::stat(target.c_str(), &info) != 0) {
        return target;
    }
    if (S_ISDIR(info.st_mode)) {
        throw KvalonError(ErrorKind::FileWrite, target, system_reason(EISDIR));
    }
    if (is_the_report(info)) {
        throw KvalonError(ErrorKind::FileWrite, target, messages::kIsTheReport);
    }
    return target;
}

std::string read_at(int fd, off_t offset, std::size_t count) {
    std::string bytes(count, '\0');
    const ssize_t got = ::pread(fd, bytes.data(), count, offset);
    bytes.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return bytes;
}

// The offset after the last "startxref", or -1 when there is none.
long long xref_offset(const std::string& tail) {
    const std::size_t at = tail.rfind(kStartXref);
    if (at == std::string::npos) {
        return -1;
    }
    const char* digits = tail.c_str() + at + kStartXref.size();
    char* end = nullptr;
    const long long offset = std::strtoll(digits, &end, 10);
    return end == digits ? -1 : offset;
}

bool ends_with_end_mark(std::string tail) {
    while (!tail.empty() && (tail.back() == '\n' || tail.back() == '\r')) {
        tail.pop_back();
    }
    return tail.size() >= kEndMark.size() &&
           tail.compare(tail.size() - kEndMark.size(), kEndMark.size(), kEndMark) == 0;
}

void copy_to_stream(int from, const std::string& to) {
    const int target = ::open(to.c_str(), O_WRONLY | O_CLOEXEC);
    if (target < 0) {
        throw KvalonError(ErrorKind::FileWrite, to, system_reason(errno));
    }
    std::vector<char> buffer(std::size_t{1} << 16);
    int reason = 0;
    off_t offset = 0;
    for (ssize_t count = 0;
         reason == 0 && (count = ::pread(from, buffer.data(), buffer.size(), offset)) > 0;) {
        offset += count;
        for (ssize_t done = 0; done < count;) {
            const ssize_t written =
                ::write(target, buffer.data() + done, static_cast<std::size_t>(count - done));
            if (written < 0 && errno == EINTR) {
                continue;
            }
            if (written <= 0) {
                reason = written < 0 ? errno : EIO;
                break;
            }
            done += written;
        }
    }
    if (::close(target) != 0 && reason == 0) {
        reason = errno;
    }
    if (reason != 0) {
        throw KvalonError(ErrorKind::FileWrite, to, system_reason(reason));
    }
}

} // namespace

PdfTargetFile::PdfTargetFile(const std::string& target)
    : m_target(checked_target(target)), m_stream_target(is_stream_target(target)),
      m_file(m_stream_target ? system_temporary_folder() : folder_of(target),
             m_stream_target ? std::string("kvalon-p-")
                             : "." + std::filesystem::path(target).filename().string() + ".",
             target) {}

void PdfTargetFile::commit() {
    if (!pdf_is_complete(m_file.fd())) {
        throw KvalonError(ErrorKind::FileWrite, m_target,
                          failure_reason(messages::kDocumentIncomplete));
    }
    commit_as_written();
}

void PdfTargetFile::commit_as_written() {
    if (m_stream_target) {
        copy_to_stream(m_file.fd(), m_target);
        return;
    }
    if (::fchmod(m_file.fd(), 0644) != 0) {
        m_file.fail(errno);
    }
    m_file.sync_and_close();
    if (std::rename(m_file.path().c_str(), m_target.c_str()) != 0) {
        m_file.fail(errno);
    }
    m_file.keep();
}

std::string PdfTargetFile::failure_reason(const std::string& fallback) const {
    struct statvfs space {};
    if (::fstatvfs(m_file.fd(), &space) == 0 &&
        space.f_bavail * space.f_frsize < kNearlyFullBytes) {
        return system_reason(ENOSPC);
    }
    return fallback;
}

bool pdf_is_complete(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) != 0 || info.st_size <= 0) {
        return false;
    }
    const off_t size = info.st_size;
    const off_t tail_start = size > kTailBytes ? size - kTailBytes : 0;
    const std::string tail = read_at(fd, tail_start, static_cast<std::size_t>(size - tail_start));
    const long long offset = xref_offset(tail);
    return ends_with_end_mark(tail) && offset > 0 && offset < size &&
           read_at(fd, static_cast<off_t>(offset), kXref.size()) == kXref;
}

} // namespace kvalon
