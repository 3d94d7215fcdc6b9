#pragma once

#include <string>
#include <vector>

namespace kvalon {

// The sheet a PostScript document is drawn on when it names none, in points.
struct PaperPoints {
    double width = 0;
    double height = 0;
};

// Ghostscript (gs on the PATH) writes the PostScript or PDF documents
// `inputs`, one after the other, as one PDF into the file `output`, in its
// safe mode (the documents can neither read nor write other files). A
// document that does not finish within a time limit is stopped. Throws
// KvalonError(FileWrite) naming `target` (the file the user knows) with the
// reason: gs missing, its own error message, or the time limit.
void ghostscript_to_pdf(const std::vector<std::string>& inputs, const std::string& output,
                        const PaperPoints& paper, const std::string& target);

} // namespace kvalon
