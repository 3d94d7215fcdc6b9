#pragma once

#include "engine/page_model.h"

namespace kvalon {

struct PrintJob;

// The printer languages a report can be written in. A language has its page
// model and, where it needs them, its own fields in the job (PrintJob::Escp,
// PrintJob::Pcl).
enum class PrinterLanguage {
    Text,  // lines of characters in the job's code page
    Epson, // an Epson-compatible printer's sequences (ESC/P, ESC/P 2)
    Pcl,   // a LaserJet's PCL 5, from a DOS program's laser printer driver
};

// What the user asked for: a language, or `Auto`, the language told from
// the report when it is planned (engine/pcl/pcl_report_rule.h, then
// engine/escp/epson_report_rule.h).
enum class LanguageChoice {
    Auto,
    Text,
    Epson,
    Pcl,
};

PrinterLanguage language_of(const PrintJob& j);
// Gives the job the language; its own fields start anew only when the
// language changes.
void choose_language(PrintJob& j, PrinterLanguage language);
// Gives the job the language asked for; `Auto` leaves it to planning.
void choose_language(PrintJob& j, LanguageChoice choice);
// Planning of a job whose language was left to it: the report tells it.
void tell_language_from_report(PrintJob& j);
// Whether a report may be read as plain text in this choice.
bool may_be_text(LanguageChoice choice);
// Whether a PCL job may be read as PCL in this choice.
bool may_be_pcl(LanguageChoice choice);

// The one place a language's model is chosen.
const PageModel& page_model(PrinterLanguage language);
const PageModel& page_model(const PrintJob& j);

} // namespace kvalon
