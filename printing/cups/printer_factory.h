#pragma once

#include "engine/printer_surface.h"
#include "printing/document_sink.h"
#include "printing/printer_target.h"

#include <memory>
#include <string>

namespace kvalon {

// The printer surface for a target: a CUPS queue with its own paper (fonts in
// pixels of 1/1200 inch), or the built-in PDF printer (DrawingDpi, the whole
// sheet printable). Both measure and print in the program's font file.
std::unique_ptr<PrinterSurface> make_printer_surface(const PrinterTarget& target);

// The built-in PDF printer's sink writing `path`, with the program's font
// file: for documents that are drawn on a surface of their own.
std::unique_ptr<DocumentSink> make_pdf_file_sink(const std::string& path);

} // namespace kvalon
