#include "printing/pdf_target_file.h"

#include "engine/error.h"
#include "engine/messages.h"
#include "engine/source_file.h"
#include "platform/descriptor_io.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace kvalon {

namespace {

// The trailer is a few dozen bytes; this is ample.
constexpr std::int64_t kTailBytes = 1024;
constexpr std::string_view kEndMark = "%%EOF";
constexpr std::string_view kStartXref = "startxref";
constexpr std::string_view kXref = "xref";
// Less room than one buffer of the writer counts as a full file system.
constexpr long long kNearlyFullBytes = 64 * 1024;
constexpr std::size_t kCopyBytes = std::size_t{1} << 16;

bool is_the_report(const FileFacts& target) {
    const SourceFile& report = source_file();
    return report.is_open() && report.identity().device == target.identity.device &&
           report.identity().inode == target.identity.inode;
}

// The report the job is printing, named again or through a link, cannot be
// replaced by its own document; say so before anything is written.
void refuse_the_report(const std::string& target) {
    FileFacts info;
    if (facts_at(target, Links::Follow, info) == 0 && is_the_report(info)) {
        throw KvalonError(ErrorKind::FileWrite, target, messages::kIsTheReport);
    }
}

// The caller's standard output or error when `target` names it and it is no
// ordinary file (a pipe, a terminal): the document goes there through the
// stream the caller gave us, which is never opened anew. -1 otherwise.
int callers_stream(const std::string& target) {
    FileFacts info;
    if (facts_at(target, Links::Follow, info) != 0 || info.type == FileType::Regular ||
        info.type == FileType::Folder) {
        return -1;
    }
    for (const int stream : {kStandardOutput, kStandardError}) {
        FileFacts open_stream;
        if (facts_of(stream, open_stream) == 0 && info.is_same_file(open_stream)) {
            return stream;
        }
    }
    return -1;
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

void copy_to_stream(int from, int to, const std::string& target) {
    int reason = 0;
    std::int64_t offset = 0;
    for (std::string bytes; reason == 0 && !(bytes = read_at(from, offset, kCopyBytes)).empty();) {
        offset += static_cast<std::int64_t>(bytes.size());
        reason = write_all(to, bytes, EIO);
    }
    if (reason != 0) {
        throw KvalonError(ErrorKind::FileWrite, target, system_reason(reason));
    }
}

} // namespace

PdfTargetFile::PdfTargetFile(const std::string& target) : m_target(target) {
    refuse_the_report(target);
    if (const int stream = callers_stream(target); stream >= 0) {
        m_stream = duplicate(stream);
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
    const long long free = free_bytes(fd());
    if (free >= 0 && free < kNearlyFullBytes) {
        return system_reason(ENOSPC);
    }
    return fallback;
}

bool pdf_is_complete(int fd) {
    FileFacts info;
    if (facts_of(fd, info) != 0 || info.identity.size <= 0) {
        return false;
    }
    const std::int64_t size = info.identity.size;
    const std::int64_t tail_start = size > kTailBytes ? size - kTailBytes : 0;
    const std::string tail = read_at(fd, tail_start, static_cast<std::size_t>(size - tail_start));
    const long long offset = xref_offset(tail);
    return ends_with_end_mark(tail) && offset > 0 && offset < size &&
           read_at(fd, offset, kXref.size()) == kXref;
}

} // namespace kvalon
