#pragma once

#include "engine/document_kind.h"
#include "printing/printer_target.h"

#include <string>

namespace kvalon {

// Hands the document at `path`, which is not a text report, to `target` as
// it is: to a CUPS queue as one job of its own document format, titled
// `title`, followed to its end like every job; to the PDF printer copied or
// made a PDF (printing/pdf/pdf_document_pass.h). Throws KvalonError.
void pass_document(const PrinterTarget& target, DocumentKind kind, const std::string& path,
                   const std::string& title);

} // namespace kvalon
