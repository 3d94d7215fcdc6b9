#pragma once

#include <string>

namespace kvalon {

// Checks on the PDF file the built-in PDF printer has written. Qt's PDF
// writer does not report every failed write, so the file itself is the proof:
// it must end with "%%EOF" and its "startxref" offset must point at the
// cross-reference table, which holds only when no byte before it was lost.
bool pdf_is_complete(const std::string& path);

// True when `path` exists and is neither a regular file nor a folder (a
// device such as /dev/stdout, a named pipe): such a target is written
// straight through, never replaced by a renamed file.
bool is_stream_target(const std::string& path);

// Copies the finished PDF `from` into the stream target `to`, checking every
// write. Throws KvalonError(FileWrite) naming `to` with the system's reason.
void copy_to_stream(const std::string& from, const std::string& to);

// The system's reason why writing into `folder` failed when the writer itself
// could not tell: a full file system says so, anything else is `fallback`.
std::string write_failure_reason(const std::string& folder, const std::string& fallback);

} // namespace kvalon
