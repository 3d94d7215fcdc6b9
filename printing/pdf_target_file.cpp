#include "printing/pdf_target_file.h"

#include "engine/error.h"
#include "engine/messages.h"
#include "engine/source_file.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
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

bool is_the_report(const struct stat& target) {
    const SourceFile& report = source_file();
    return report.is_open() &&
           report.identity().device == static_cast<std::uint64_t>(target.st_dev) &&
           report.identity().inode == static_cast<std::uint64_t>(target.st_ino);
}

// The report the job is printing, named again or through a link, cannot be
// replaced by its own document; say so before anything is written.
void refuse_the_report(const std::string& target) {
    struct stat info {};
    if (::stat(target.c_str(), &info) == 0 && is_the_report(info)) {
        throw KvalonError(ErrorKind::FileWrite, target, messages::kIsTheReport);
    }
}

bool same_file(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The caller's standard output or error when `target` names it and it is no
// ordinary file (a pipe, a terminal): the document goes there through the
// stream the caller gave us, which is never opened anew. -1 otherwise.
int callers_stream(const std::string& target) {
    struct stat info {};
    if (::stat(target.c_str(), &info) != 0 || S_ISREG(info.st_mode) || S_ISDIR(info.st_mode)) {
        return -1;
    }
    for (const int stream : {STDOUT_FILENO, STDERR_FILENO}) {
        struct stat open_stream {};
        if (::fstat(stream, &open_stream) == 0 && same_file(info, open_stream)) {
            return stream;
        }
    }
    return -1;
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

// Every byte, retrying after signals and short writes, and waiting while a
// stream the caller set not to wait is full.
int write_all_to(int target, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(target, data, size);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written < 0 && errno == EAGAIN) {
            pollfd writable{target, POLLOUT, 0};
            ::poll(&writable, 1, -1);
            continue;
        }
        if (written <= 0) {
            return written < 0 ? errno : EIO;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return 0;
}

void copy_to_stream(int from, int to, const std::string& target) {
    std::vector<char> buffer(std::size_t{1} << 16);
    int reason = 0;
    off_t offset = 0;
    for (ssize_t count = 0;
         reason == 0 && (count = ::pread(from, buffer.data(), buffer.size(), offset)) > 0;) {
        offset += count;
        reason = write_all_to(to, buffer.data(), static_cast<std::size_t>(count));
    }
    if (reason != 0) {
        throw KvalonError(ErrorKind::FileWrite, target, system_reason(reason));
    }
}

} // namespace

PdfTargetFile::PdfTargetFile(const std::string& target) : m_target(target) {
    refuse_the_report(target);
    if (const int stream = callers_stream(target); stream >= 0) {
        m_stream.reset(::fcntl(stream, F_DUPFD_CLOEXEC, STDERR_FILENO + 1));
        if (!m_stream.valid()) {
            throw KvalonError(ErrorKind::FileWrite, target, system_reason(errno));
        }
        m_stream_copy.emplace(system_temporary_folder(), "kvalon-p-", target);
    } else {
        m_replacement.emplace(target, NotOrdinaryTarget::Refuse);
    }
}

TemporaryFile& PdfTargetFile::file() {
    return m_replacement ? m_replacement->file() : *m_stream_copy;
}

const TemporaryFile& PdfTargetFile::file() const {
    return m_replacement ? m_replacement->file() : *m_stream_copy;
}

int PdfTargetFile::fd() const {
    return file().fd();
}

const std::string& PdfTargetFile::path() const {
    return file().path();
}

void PdfTargetFile::commit() {
    if (!pdf_is_complete(fd())) {
        throw KvalonError(ErrorKind::FileWrite, m_target,
                          failure_reason(messages::kDocumentIncomplete));
    }
    commit_as_written();
}

void PdfTargetFile::commit_as_written() {
    if (m_replacement) {
        m_replacement->commit();
        return;
    }
    copy_to_stream(fd(), m_stream.get(), m_target);
}

std::string PdfTargetFile::failure_reason(const std::string& fallback) const {
    struct statvfs space {};
    if (::fstatvfs(fd(), &space) == 0 && space.f_bavail * space.f_frsize < kNearlyFullBytes) {
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
