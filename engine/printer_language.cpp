#include "engine/printer_language.h"

#include "engine/escp/epson_report_rule.h"
#include "engine/escp/escp_page_model.h"
#include "engine/pcl/pcl_page_model.h"
#include "engine/pcl/pcl_report_rule.h"
#include "engine/print_job.h"
#include "engine/text_page_model.h"

namespace kvalon {

PrinterLanguage language_of(const PrintJob& j) {
    if (j.Pcl) {
        return PrinterLanguage::Pcl;
    }
    return j.Escp ? PrinterLanguage::Epson : PrinterLanguage::Text;
}

void choose_language(PrintJob& j, PrinterLanguage language) {
    if (language_of(j) == language) {
        return;
    }
    j.Escp.reset();
    j.Pcl.reset();
    switch (language) {
    case PrinterLanguage::Text:
        return;
    case PrinterLanguage::Epson:
        j.Escp.emplace();
        return;
    case PrinterLanguage::Pcl:
        j.Pcl.emplace();
        return;
    }
}

void choose_language(PrintJob& j, LanguageChoice choice) {
    j.LanguageByReport = choice == LanguageChoice::Auto;
    switch (choice) {
    case LanguageChoice::Auto:
        return;
    case LanguageChoice::Text:
        choose_language(j, PrinterLanguage::Text);
        return;
    case LanguageChoice::Epson:
        choose_language(j, PrinterLanguage::Epson);
        return;
    case LanguageChoice::Pcl:
        choose_language(j, PrinterLanguage::Pcl);
        return;
    }
}

// A PCL job tells itself by its start; an Epson report by what the text
// mode would lose.
void tell_language_from_report(PrintJob& j) {
    if (!j.LanguageByReport) {
        return;
    }
    if (report_reads_as_pcl(j.SourcePath)) {
        choose_language(j, PrinterLanguage::Pcl);
        return;
    }
    choose_language(j, report_reads_as_epson(j.SourcePath) ? PrinterLanguage::Epson
                                                           : PrinterLanguage::Text);
}

bool may_be_text(LanguageChoice choice) {
    return choice == LanguageChoice::Auto || choice == LanguageChoice::Text;
}

bool may_be_pcl(LanguageChoice choice) {
    return choice == LanguageChoice::Auto || choice == LanguageChoice::Pcl;
}

const PageModel& page_model(PrinterLanguage language) {
    switch (language) {
    case PrinterLanguage::Text:
        break;
    case PrinterLanguage::Epson:
        return escp_page_model();
    case PrinterLanguage::Pcl:
        return pcl_page_model();
    }
    return text_page_model();
}

const PageModel& page_model(const PrintJob& j) {
    return page_model(language_of(j));
}

} // namespace kvalon
