#pragma once

#include "engine/atomic_file.h"
#include "platform/owned_fd.h"

#include <optional>
#include <string>

namespace kvalon {

// The file a PDF is written into for its target. For an ordinary target, a
// fresh file beside the file it replaces (created exclusively, so no planted
// file or link is ever written through) that replaces it only when the
// document is complete and on the disk, with that file's owner and
// permissions (engine/atomic_file.h); two jobs writing one target each write
// their own file, and the last one finished wins whole. When the target is
// the caller's own standard output or error (/dev/stdout on a pipe or a
// terminal), a private file in the temporary folder, copied through at the
// end. Unless committed, the file is removed when the object goes.
class PdfTargetFile {
public:
    // Throws KvalonError(FileWrite) naming the target, also when the target is
    // the report the job is reading (engine/source_file.h), and
    // KvalonError(NotRegularFile) when it is any other pipe, socket or device:
    // it is never opened, so it cannot hold the program.
    explicit PdfTargetFile(const std::string& target);

    int fd() const;
    // The file's own name while it is written, for a program that writes it
    // by name (Ghostscript).
    const std::string& path() const;
    // Checks that the written document is whole, then puts it in place.
    // Throws KvalonError(FileWrite) naming the target.
    void commit();
    // Puts the file in place as it was written: a document copied as it
    // came, whose copier has checked that it is whole.
    void commit_as_written();
    // The reason to give when the writer failed without one: a full disk says
    // so, anything else is `fallback`.
    std::string failure_reason(const std::string& fallback) const;

private:
    TemporaryFile& file();
    const TemporaryFile& file() const;

    std::string m_target;
    OwnedFd m_stream; // the caller's stream the document goes to, or none
    std::optional<TemporaryFile> m_stream_copy;
    std::optional<AtomicReplacement> m_replacement;
};

// The document in `fd` ends with "%%EOF" and its "startxref" offset points at
// a cross-reference table: no byte before it was lost. Reads through `fd`
// without moving its offset.
bool pdf_is_complete(int fd);

} // namespace kvalon
