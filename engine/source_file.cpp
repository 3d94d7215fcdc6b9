#include "engine/source_file.h"

#include "engine/control_codes.h"
#include "engine/error.h"
#include "engine/file_checks.h"
#include "engine/line_limit.h"
#include "engine/messages.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace kvalon {

namespace {
constexpr std::size_t kBufferSize = std::size_t{1} << 20;
constexpr char kCarriageReturn = codes::CarriageReturn;
constexpr char kLineFeed = codes::LineFeed;
constexpr char kFormFeed = codes::FormFeed;
constexpr char kDosEndOfFile = codes::DosEndOfFile;

// Opened without waiting, so that a pipe or a device put under the name after
// it was checked cannot hold the program; only an ordinary file is read.
std::unique_ptr<SourceInput> open_ordinary_file(SourceInputs& inputs, const std::string& path,
                                                FileFacts& facts) {
    int error = 0;
    std::unique_ptr<SourceInput> input = inputs.open(path, error);
    if (input == nullptr) {
        throw KvalonError(ErrorKind::File, path, system_reason(error));
    }
    if (const int reason = input->facts(facts); reason != 0) {
        throw KvalonError(ErrorKind::File, path, system_reason(reason));
    }
    if (facts.type == FileType::Folder) {
        throw KvalonError(ErrorKind::File, path, system_reason(EISDIR));
    }
    if (facts.type != FileType::Regular) {
        throw KvalonError(ErrorKind::NotRegularFile, path);
    }
    return input;
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
    FileFacts facts;
    std::unique_ptr<SourceInput> input = open_ordinary_file(*m_inputs, path, facts);
    // Before anything is read: a line's width in the ESC/P mode is known only
    // at its end, so a huge file without line ends would be read to its end.
    refuse_larger_than_a_report(path, facts.identity.size);
    m_identity = facts.identity;
    m_consumed = 0;
    m_input = std::move(input);
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
    m_input.reset();
    m_buffer.clear();
    m_buffer.shrink_to_fit();
    m_begin = m_end = 0;
    m_exhausted = true;
}

bool SourceFile::fill() {
    if (m_begin < m_end) {
        return true;
    }
    if (m_exhausted || m_input == nullptr) {
        return false;
    }
    const std::int64_t left = m_identity.size - m_consumed;
    const auto wanted = static_cast<std::size_t>(
        std::min<std::int64_t>(left, static_cast<std::int64_t>(m_buffer.size())));
    const std::size_t count = read_fully(wanted);
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

// As many bytes as are wanted; a file that ends before them was cut short.
std::size_t SourceFile::read_fully(std::size_t wanted) {
    std::size_t count = 0;
    while (count < wanted) {
        const long long got = m_input->read(m_buffer.data() + count, wanted - count);
        if (got < 0) {
            throw KvalonError(ErrorKind::File, m_path, system_reason(static_cast<int>(-got)));
        }
        if (got == 0) {
            throw KvalonError(ErrorKind::File, m_path, messages::kChangedDuringJob);
        }
        count += static_cast<std::size_t>(got);
    }
    return count;
}

// The planned size is read; a file that grew or was written to meanwhile is
// no longer the file that was planned.
void SourceFile::check_unchanged_at_end() {
    FileFacts facts;
    if (const int reason = m_input->facts(facts); reason != 0) {
        throw KvalonError(ErrorKind::File, m_path, system_reason(reason));
    }
    if (!(facts.identity == m_identity)) {
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
