#pragma once

#include <cstdint>
#include <string>

namespace kvalon {

// The folder TMPPRNT1.TMP goes to: the source's own folder; the current
// folder for a bare file name.
std::string answer_folder(const std::string& source_path);

// Writes TMPPRNT1.TMP into `folder`: the lines per page and CR LF. The file is
// written whole under a temporary name and renamed over the old one, so the
// caller never reads half a number. Throws KvalonError(FileWrite) naming the file.
void write_answer_file(const std::string& folder, std::int16_t lines_per_page);

} // namespace kvalon
