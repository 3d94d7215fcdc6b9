#pragma once

#include "engine/private_folder.h"

#include <string>

namespace kvalon {

// The sheet a PostScript document is drawn on when it names none, in points.
struct PaperPoints {
    double width = 0;
    double height = 0;
};

// Ghostscript (gs on the PATH) is given nothing it could take for a device,
// a switch or a file of switches: it reads the document from a descriptor
// of ours (/dev/fd/N) and writes into one, whatever the files are called.
// It runs in its safe mode with its temporary files in `folder` (TMPDIR,
// TEMP, TMP), so a document reaches no file but its own input and output
// and that folder, and with its safety settings locked, so a document
// cannot send its pages to another file (/OutputFile). It runs in a process
// group of its own that ends with the program (printing/pdf/helper_process.h);
// a document that does not finish within a time limit is stopped. Failures
// throw KvalonError(FileWrite) naming `target` (the file the user knows)
// with the reason: gs missing, its own error message, or the time limit.

// Writes the PostScript or PDF document open at `input`, `times` times one
// after the other, as one PDF into the open file `output`.
void ghostscript_to_pdf(int input, int times, int output, const PaperPoints& paper,
                        const PrivateFolder& folder, const std::string& target);

// What is on the pages of the PDF open at `pdf`: how many there are, counted
// up to `most_pages` + 1, and whether any of them has a mark.
struct PageMarks {
    int pages = 0;
    bool marked = false;
};
PageMarks ghostscript_page_marks(int pdf, int most_pages, const PrivateFolder& folder,
                                 const std::string& target);

} // namespace kvalon
