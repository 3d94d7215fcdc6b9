#include "engine/printer_language.h"

#include "engine/escp/epson_report_rule.h"
#include "engine/escp/escp_page_model.h"
#include "engine/print_job.h"
#include "engine/text_page_model.h"

namespace kvalon {

PrinterLanguage language_of(const PrintJob& j) {
    return j.Escp ? PrinterLanguage::Epson : PrinterLanguage::Text;
}

void choose_language(PrintJob& j, PrinterLanguage language) {
    if (language_of(j) == language) {
        return;
    }
    switch (language) {
    case PrinterLanguage::Text:
        j.Escp.reset();
        return;
    case PrinterLanguage::Epson:
        j.Escp.emplace();
        return;
    }
}

void choose_language(PrintJob& j, LanguageChoice choice) {
    j.LanguageByReport = choice == LanguageChoice::Auto;
    if (choice != LanguageChoice::Auto) {
        choose_language(j, choice == LanguageChoice::Epson ? PrinterLanguage::Epson
                                                           : PrinterLanguage::Text);
    }
}

void tell_language_from_report(PrintJob& j) {
    if (j.LanguageByReport) {
        choose_language(j, report_reads_as_epson(j.SourcePath) ? PrinterLanguage::Epson
                                                               : PrinterLanguage::Text);
    }
}

bool may_be_text(LanguageChoice choice) {
    return choice != LanguageChoice::Epson;
}

const PageModel& page_model(PrinterLanguage language) {
    switch (language) {
    case PrinterLanguage::Text:
        break;
    case PrinterLanguage::Epson:
        return escp_page_model();
    }
    return text_page_model();
}

const PageModel& page_model(const PrintJob& j) {
    return page_model(language_of(j));
}

} // namespace kvalon
