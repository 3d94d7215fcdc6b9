#pragma once

#include "engine/document_kind.h"
#include "printing/pdf/ghostscript.h"

#include <string>

namespace kvalon {

// The PDF printer given a document that is not a text report, written into
// `target` as every PDF of the program is: beside it under a fresh name, put
// in place only when whole. A PDF is copied as it came, once it is seen to
// end as a PDF (engine/pdf_trailer.h); more copies than one are its
// pages again, by Ghostscript. PostScript becomes a PDF by Ghostscript, on
// `paper` unless it sets its own. What Ghostscript made must have a mark on
// some page, and its pages times the copies must not pass the sheets of one
// job (32,767). Throws KvalonError: NotTextReport for PCL, which the PDF
// printer cannot print; File when the source cannot be read or is no whole
// PDF; BlankPages when nothing came out; TooManyPages past the sheets;
// FileWrite naming the target otherwise ("няма свободно място" when a disk
// it writes on is full).
void write_document_as_pdf(DocumentKind kind, const std::string& source, const std::string& target,
                           const PaperPoints& paper, int copies);

} // namespace kvalon
