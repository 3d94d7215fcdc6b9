#pragma once

#include <cstdint>
#include <string_view>

namespace kvalon {

// Planning counts a line as its characters plus two, less the bold markers it
// prints (all but at most one), and that count must stay 16-bit. A line that
// is longer than the largest count and whose characters besides its markers
// pass 32,765 can therefore never be planned, whatever follows in it: readers
// may stop at that point instead of reading the rest of a huge line.
inline constexpr std::int64_t kLongestLineAllowed = 32765;
inline constexpr std::int64_t kLargestLineCount = 32767;

// Page numbers are 16-bit too: a report prints at most this many pages.
inline constexpr std::int64_t kMostPages = 32767;
// Copies of one job: at least one, at most as many as a print service itself
// takes (CUPS's own bound), whoever asks for them.
inline constexpr int kMostCopies = 9999;
// A report larger than this is no DOS report, in either mode and whether it
// comes as a file or on standard input: a runaway pipe (/dev/zero) must not
// fill the temporary folder, nor a huge (sparse) file be read for hours.
inline constexpr std::int64_t kLargestReport = std::int64_t{2} << 30;

inline bool line_cannot_be_planned(std::int64_t length, std::int64_t markers) {
    return length > kLargestLineCount && length - markers > kLongestLineAllowed;
}

// Watches a report as it streams past, split into lines the way the source
// file splits them (CR or CR LF ends a line, an end mark 26 ends the text),
// and tells as soon as one line can never be planned.
class LineLimitWatch {
public:
    explicit LineLimitWatch(char marker) : m_marker(marker) {}

    // True once a line seen so far can never be planned.
    bool feed(std::string_view bytes);

private:
    char m_marker;
    std::int64_t m_length = 0;
    std::int64_t m_markers = 0;
    bool m_after_cr = false;
    bool m_text_ended = false;
    bool m_hopeless = false;
};

} // namespace kvalon
