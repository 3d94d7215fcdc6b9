#pragma once

#include "engine/printer_surface.h"
#include "printing/document_sink.h"
#include "printing/printer_target.h"

#include <memory>

namespace kvalon {

// The printer surface for a target: a CUPS queue with its own paper and
// resolution, or the built-in PDF printer (DrawingDpi, the whole sheet printable).
// Needs a running Qt application (fonts).
std::unique_ptr<PrinterSurface> make_printer_surface(const PrinterTarget& target);

// The built-in PDF printer's sink writing `path`, with the faces Qt prints
// with: for documents that are drawn on a surface of their own.
std::unique_ptr<DocumentSink> make_pdf_file_sink(const std::string& path);

} // namespace kvalon
