#pragma once

#include "engine/source_input.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kvalon {

// What the planning scan needs to know of one line, without keeping it.
struct LineShape {
    std::int64_t length = 0;
    std::int64_t skip_total = 0;        // occurrences of the bold marker
    bool ends_with_two_skips = false;   // the last two characters are both markers
    bool lone_form_feed = false;        // the line is exactly one form feed
    bool has_form_feed = false;         // a form feed stands anywhere in the line
    bool text_before_form_feed = false; // its first form feed ends a printed line
    bool text_after_form_feed = false;  // its last form feed begins a printed line
    bool cannot_be_planned = false;     // skimming stopped early: the line is too long
    bool prints = false;                // a character in it leaves a mark (not a blank or control)
};

// The job's one input file. Lines end at CR or CR LF (the terminator is not
// part of the line); a LF on its own is an ordinary character. A DOS
// end-of-file mark (code 26) ends the text: nothing after it is read, unless
// the file is read whole (Reading::Bytes: the ESC/P mode, whose pictures may
// hold that byte, decides where its text ends).
// Reading streams through a fixed buffer, so memory does not grow with the
// file, and stops at the size the file had when it was opened: what was
// planned is what is printed. A file that changed meanwhile (cut short, grown
// or rewritten) is a File error, never a quiet early end or an unplanned tail.
class SourceFile {
public:
    enum class Reading { Lines, Bytes };

    SourceFile();
    ~SourceFile();
    SourceFile(const SourceFile&) = delete;
    SourceFile& operator=(const SourceFile&) = delete;

    // Throws KvalonError(File) when the file cannot be opened,
    // KvalonError(NotRegularFile) when it is no ordinary file (a pipe or a
    // device would block or never end) and KvalonError(InputTooLarge) when it
    // is larger than any report (engine/line_limit.h).
    void open(const std::string& path, Reading reading = Reading::Lines);
    void close();
    bool is_open() const { return m_input != nullptr; }
    // Where open() finds its inputs from now on: the system's files unless
    // another source is given (bytes in memory for a fuzzer). Kept by the caller.
    void read_from(SourceInputs& inputs) { m_inputs = &inputs; }
    SourceInputs& inputs() const { return *m_inputs; }
    const std::string& path() const { return m_path; }
    // The file as it was when opened.
    const FileIdentity& identity() const { return m_identity; }

    // True when no character is left to read. A closed file is at its end.
    bool at_end();
    // Consumes the next line and tells its shape, for the marker `skip`. Stops
    // early, with `cannot_be_planned` set, once the line is certain to be too
    // long (engine/line_limit.h); the rest of that line is then left unread.
    LineShape skim_line(char skip);
    // Consumes the next line up to its end or up to its first form feed, and
    // keeps at most `keep` of the characters before that in `line`. After a
    // form feed (`ends_at_form_feed`) the rest of the line is read as the next
    // line; when nothing but the line's end follows, that end is consumed too,
    // so that a form feed at a line's end makes no empty line after it.
    void read_line(std::string& line, std::size_t keep, bool& ends_at_form_feed);
    // The bytes read ahead and not yet taken, at least one unless the file is
    // at its end; consume() takes the first `count` of them.
    std::string_view available();
    void consume(std::size_t count);

private:
    template <typename Take> void scan_line(Take&& take);
    bool fill();
    std::size_t read_fully(std::size_t wanted);
    void check_unchanged_at_end();
    void take_line_feed_after_cr();
    void take_line_end_after_form_feed();

    SourceInputs* m_inputs = &files_on_disk();
    std::unique_ptr<SourceInput> m_input;
    std::string m_path;
    std::vector<char> m_buffer;
    std::size_t m_begin = 0;
    std::size_t m_end = 0;
    bool m_exhausted = true;
    bool m_stops_at_end_mark = true;
    FileIdentity m_identity;
    std::int64_t m_consumed = 0; // bytes taken from the file so far
};

// The job's source file (file number 1).
SourceFile& source_file();

} // namespace kvalon
