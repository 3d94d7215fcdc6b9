#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace kvalon {

// Reads `count` bytes at `offset` of a document (fewer at its end).
using DocumentReader = std::function<std::string(long long offset, std::size_t count)>;

// A document of `size` bytes ends as a PDF does, where its readers look
// first: the last "startxref" before the last "%%EOF" among its final
// 1024 bytes gives an offset inside it, and there stands a cross-reference
// table ("xref") or a cross-reference stream (an object "N G obj" whose
// dictionary says /XRef). A file that only begins with "%PDF-" has none.
bool has_pdf_trailer(long long size, const DocumentReader& read);

// The same for the file open at `fd`, read without moving its offset.
bool file_has_pdf_trailer(int fd);

// Throws KvalonError(File) naming `path` when the PDF document there does not
// end as a PDF, or cannot be opened: nothing that prints nothing is passed on.
void refuse_broken_pdf(const std::string& path);

} // namespace kvalon
