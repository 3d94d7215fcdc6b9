#pragma once

#include "engine/document_kind.h"
#include "printing/pdf/ghostscript.h"

#include <string>

namespace kvalon {

// The PDF printer given a document that is not a text report, written into
// `target` as every PDF of the program is: beside it under a fresh name, put
// in place only when whole. A PDF is copied as it came (more copies than
// one: its pages again, by Ghostscript); PostScript becomes a PDF by
// Ghostscript, on `paper` unless it sets its own. Throws KvalonError:
// NotTextReport for PCL, which the PDF printer cannot print; File when the
// source cannot be read; FileWrite naming the target otherwise.
void write_document_as_pdf(DocumentKind kind, const std::string& source, const std::string& target,
                           const PaperPoints& paper, int copies);

} // namespace kvalon
