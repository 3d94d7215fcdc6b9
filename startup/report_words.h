#pragma once

#include <functional>
#include <string>
#include <vector>

namespace kvalon {

// True when a path names something a report can be read from.
using NamesFile = std::function<bool(const std::string&)>;

// The words of the ordinary command line as split_command_line makes them,
// except that the report's name may hold blanks and commas: files from
// Windows shares have them. `shell_words` are the words after the options
// as the shell passed them; `text` is the argument text made of them.
// - A first shell word with a blank or a comma that names a file is the
//   report, taken whole.
// - Otherwise, when the first DOS word names no file, the longest start of
//   `text` ending before a blank or a comma that names a file is the report:
//   an emulator that passes a DOS path unquoted splits it into words.
// Everything after the report is split as a DOS caller's words always were.
std::vector<std::string> split_report_words(const std::string& text,
                                            const std::vector<std::string>& shell_words,
                                            const NamesFile& names_file);

// The file system's answer for split_report_words: an ordinary file.
bool names_ordinary_file(const std::string& path);

} // namespace kvalon
