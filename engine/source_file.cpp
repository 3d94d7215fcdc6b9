#include "engine/source_file.h"

#include "engine/control_codes.h"
#include "engine/error.h"
#include "engine/file_checks.h"
#include "engine/line_limit.h"
#include "engine/messages.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kvalon {

namespace {
constexpr std::size_t kBufferSize = std::size_t{1} << 20;
constexpr char kCarriageReturn = codes::CarriageReturn;
constexpr char kLineFeed = codes::LineFeed;
constexpr char kFormFeed = codes::FormFeed;
constexpr char kDosEndOfFile = codes::DosEndOfFile;

FileIdentity identity_of(const struct stat& info) {
    return FileIdentity{static_cast<std::uint64_t>(info.st_dev),
                        static_cast<std::uint64_t>(info.st_ino),
                        static_cast<std::int64_t>(info.st_size), modified_ns(info)};
}

// Opened without waiting, so that a pipe or a device put under the name after
// it was checked cannot hold the program; only an ordinary file is read.
std::FILE* open_ordinary_file(const std::string& path, struct stat& info) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        throw KvalonError(ErrorKind::File, path, system_reason(errno));
    }
    if (::fstat(fd, &info) != 0) {
        const int reason = errno;
        ::close(fd);
        throw KvalonError(ErrorKind::File, path, system_reason(reason));
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        if (S_ISDIR(info.st_mode)) {
            throw KvalonError(ErrorKind::File, path, system_reason(EISDIR));
        }
        throw KvalonError(ErrorKind::NotRegularFile, path);
    }
    std::FILE* file = nullptr;
    if (::fcntl(fd, F_SETFL, O_RDONLY) != 0 || (file = ::fdopen(fd, "rb")) == nullptr) {
        const int reason = errno;
        ::close(fd);
        throw KvalonError(ErrorKind::File, path, system_reason(reason));
    }
    return file;
}

// Blanks, control bytes, DEL and MIK's no-break space print nothing.
bool leaves_a_mark(char c) {
    const auto code = static_cast<unsigned char>(c);
    return code > codes::FirstPrintable && code != codes::Delete && code != codes::NoBreakSpace;
}

// Called before `piece` is counted into the shape's length.
void note_form_feeds(LineShape& shape, std::string_view piece) {
    const std::size_t first = piece.find(kFormFeed);
    if (first == piece.npos || shape.has_form_feed) {
        return;
    }
    shape.has_form_feed = true;
    shape.text_before_form_feed = shape.length > 0 || first > 0;
}

} // namespace

SourceFile::SourceFile() = default;

SourceFile::~SourceFile() {
    close();
}

void SourceFile::open(const std::string& path, Reading reading) {
    close();
    struct stat info {};
    std::FILE* file = open_ordinary_file(path, info);
    // Before anything is read: a line's width in the ESC/P mode is known only
    // at its end, so a huge file without line ends would be read to its end.
    if (info.st_size > kLargestReport) {
        std::fclose(file);
        refuse_larger_than_a_report(path, info.st_size);
    }
    m_identity = identity_of(info);
    m_consumed = 0;
    m_file = file;
    m_path = path;
    // A short report needs no more than itself: every page of a buffer is
    // cleared and mapped before it is read into.
    m_buffer.resize(static_cast<std::size_t>(
        std::min<std::int64_t>(static_cast<std::int64_t>(kBufferSize), m_identity.size)));
    m_begin = m_end = 0;
    m_exhausted = false;
    m_stops_at_end_mark = reading == Reading::Lines;
}

void SourceFile::close() {
    if (m_file != nullptr) {
        std::fclose(m_file);
        m_file = nullptr;
    }
    m_buffer.clear();
    m_buffer.shrink_to_fit();
    m_begin = m_end = 0;
    m_exhausted = true;
}

bool SourceFile::fill() {
    if (m_begin < m_end) {
        return true;
    }
    if (m_exhausted || m_file == nullptr) {
        return false;
    }
    const std::int64_t left = m_identity.size - m_consumed;
    const auto wanted = static_cast<std::size_t>(
        std::min<std::int64_t>(left, static_cast<std::int64_t>(m_buffer.size())));
    const std::size_t count = wanted > 0 ? std::fread(m_buffer.data(), 1, wanted, m_file) : 0;
    if (count < wanted) {
        if (std::ferror(m_file)) {
            const int reason = errno;
            throw KvalonError(ErrorKind::File, m_path, system_reason(reason));
        }
        throw KvalonError(ErrorKind::File, m_path, messages::kChangedDuringJob);
    }
    m_consumed += static_cast<std::int64_t>(count);
    if (m_consumed == m_identity.size) {
        m_exhausted = true;
        check_unchanged_at_end();
    }
    m_begin = 0;
    m_end = count;
    // An empty file has no buffer at all, and memchr wants one even for no bytes.
    const void* mark = m_stops_at_end_mark && count > 0
                           ? std::memchr(m_buffer.data(), kDosEndOfFile, count)
                           : nullptr;
    if (mark != nullptr) {
        m_end = static_cast<std::size_t>(static_cast<const char*>(mark) - m_buffer.data());
        m_exhausted = true;
    }
    return m_begin < m_end;
}

// The planned size is read; a file that grew or was written to meanwhile is
// no longer the file that was planned.
void SourceFile::check_unchanged_at_end() {
    struct stat info {};
    if (::fstat(fileno(m_file), &info) != 0) {
        const int reason = errno;
        throw KvalonError(ErrorKind::File, m_path, system_reason(reason));
    }
    if (!(identity_of(info) == m_identity)) {
        throw KvalonError(ErrorKind::File, m_path, messages::kChangedDuringJob);
    }
}

bool SourceFile::at_end() {
    return !fill();
}

void SourceFile::take_line_feed_after_cr() {
    if (fill() && m_buffer[m_begin] == kLineFeed) {
        ++m_begin;
    }
}

// The one loop that finds where a line ends: each piece of the line found in
// the buffer goes to `take`, which returns false to stop at once (the rest of
// the line is then left unread); the CR or CR LF after it is consumed.
template <typename Take> void SourceFile::scan_line(Take&& take) {
    while (fill()) {
        const char* start = m_buffer.data() + m_begin;
        const std::size_t available = m_end - m_begin;
        const auto* cr = static_cast<const char*>(std::memchr(start, kCarriageReturn, available));
        const std::size_t length = cr != nullptr ? static_cast<std::size_t>(cr - start) : available;
        m_begin += length;
        if (length > 0 && !take(std::string_view(start, length))) {
            return;
        }
        if (cr != nullptr) {
            ++m_begin;
            take_line_feed_after_cr();
            return;
        }
    }
}

LineShape SourceFile::skim_line(char skip) {
    LineShape shape;
    char last = 0;
    char before_last = 0;
    scan_line([&](std::string_view piece) {
        shape.prints = shape.prints || std::any_of(piece.begin(), piece.end(), leaves_a_mark);
        shape.skip_total += std::count(piece.begin(), piece.end(), skip);
        note_form_feeds(shape, piece);
        before_last = piece.size() > 1 ? piece[piece.size() - 2] : last;
        last = piece.back();
        if (shape.length == 0 && piece.size() == 1) {
            shape.lone_form_feed = piece[0] == kFormFeed;
        }
        shape.length += static_cast<std::int64_t>(piece.size());
        shape.cannot_be_planned = line_cannot_be_planned(shape.length, shape.skip_total);
        return !shape.cannot_be_planned;
    });
    if (shape.cannot_be_planned) {
        return shape;
    }
    shape.text_after_form_feed = shape.has_form_feed && last != kFormFeed;
    shape.lone_form_feed = shape.lone_form_feed && shape.length == 1;
    shape.ends_with_two_skips = shape.length >= 2 && last == skip && before_last == skip;
    return shape;
}

void SourceFile::read_line(std::string& line, std::size_t keep, bool& ends_at_form_feed) {
    line.clear();
    ends_at_form_feed = false;
    while (fill()) {
        const char* start = m_buffer.data() + m_begin;
        const std::size_t available = m_end - m_begin;
        const auto* cr = static_cast<const char*>(std::memchr(start, kCarriageReturn, available));
        std::size_t length = cr != nullptr ? static_cast<std::size_t>(cr - start) : available;
        const auto* feed = static_cast<const char*>(std::memchr(start, kFormFeed, length));
        if (feed != nullptr) {
            length = static_cast<std::size_t>(feed - start);
        }
        if (line.size() < keep) {
            line.append(start, std::min(length, keep - line.size()));
        }
        m_begin += length;
        if (feed != nullptr) {
            ++m_begin;
            ends_at_form_feed = true;
            take_line_end_after_form_feed();
            return;
        }
        if (cr != nullptr) {
            ++m_begin;
            take_line_feed_after_cr();
            return;
        }
    }
}

void SourceFile::take_line_end_after_form_feed() {
    if (fill() && m_buffer[m_begin] == kCarriageReturn) {
        ++m_begin;
        take_line_feed_after_cr();
    }
}

std::string_view SourceFile::available() {
    if (!fill()) {
        return {};
    }
    return std::string_view(m_buffer.data() + m_begin, m_end - m_begin);
}

void SourceFile::consume(std::size_t count) {
    m_begin += std::min(count, m_end - m_begin);
}

SourceFile& source_file() {
    static SourceFile file;
    return file;
}

} // namespace kvalon
