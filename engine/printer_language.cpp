#include "engine/printer_language.h"

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
