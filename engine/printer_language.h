#pragma once

#include "engine/page_model.h"

namespace kvalon {

struct PrintJob;

// The printer languages a report can be written in. A language has its page
// model and, where it needs them, its own fields in the job (PrintJob::Escp).
enum class PrinterLanguage {
    Text,  // lines of characters in the job's code page
    Epson, // an Epson-compatible printer's sequences (ESC/P, ESC/P 2)
};

PrinterLanguage language_of(const PrintJob& j);
// Gives the job the language; its own fields start anew only when the
// language changes.
void choose_language(PrintJob& j, PrinterLanguage language);

// The one place a language's model is chosen.
const PageModel& page_model(PrinterLanguage language);
const PageModel& page_model(const PrintJob& j);

} // namespace kvalon
