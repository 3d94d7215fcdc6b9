#include "ui/menu_session.h"

#include "engine/escp/epson_sequences.h"
#include "engine/escp/escp_form_length.h"
#include "engine/job_code_page.h"
#include "engine/messages.h"
#include "engine/page_area.h"
#include "engine/print_job.h"
#include "engine/printer_language.h"
#include "engine/printer_surface.h"
#include "printing/calibration_page.h"
#include "printing/printer_binding.h"
#include "printing/sheet_placement.h"
#include "ui/user_settings.h"

#include <filesystem>

namespace kvalon {

MenuSession::MenuSession(PrinterBinding& binding, UserSettings& settings, WindowServices& services)
    : m_binding(binding), m_settings(settings), m_print(binding, services) {
    PrintJob& j = job();
    if (j.LanguageByReport) {
        choose_language(j, m_settings.language());
    }
    if (const std::optional<std::string> length = m_settings.form_length();
        length && !j.PrinterFormLengthAsked) {
        j.PrinterFormLength = parse_form_length(*length).value_or(j.PrinterFormLength);
    }
    if (!j.CodePageAsked) {
        j.CodePageAsked = m_settings.code_page();
    }
    j.FitPages = j.FitPages || m_settings.fit_pages();
    // The printer bound at start-up prints with its own offset too.
    if (m_binding.is_bound()) {
        const SheetOffset offset = offset_for(m_binding.destination());
        if (!offset.is_zero()) {
            m_binding.bind(m_binding.shared_destination(), offset);
        }
    }
}

std::string MenuSession::start_choice(const std::string& home) {
    PrintJob& j = job();
    std::string folder;
    if (!j.LastFileName.empty()) {
        std::error_code error;
        folder = std::filesystem::absolute(j.LastFileName, error)
                     .lexically_normal()
                     .parent_path()
                     .string();
    } else {
        folder = m_settings.folder();
    }
    j.SourcePath.clear();
    return folder.empty() ? home : folder;
}

bool MenuSession::open_report(const std::string& path) {
    PrintJob& j = job();
    j.SourcePath.clear();
    j.LastFileName = path;
    m_offer_escp = false;
    m_offer_told_code_page = false;
    if (path.empty()) {
        return false;
    }
    // The words of the report before belong to it.
    tell({});
    m_settings.remember_folder_of(path);
    if (!m_print.start(path)) {
        return false;
    }
    tell_told_code_page();
    // Text chosen by hand is what the user wants.
    m_offer_escp = language_of(j) == PrinterLanguage::Text && j.LanguageByReport &&
                   holds_epson_sequences(path);
    if (m_offer_escp) {
        tell(messages::kEpsonSequencesHint);
    }
    // Garbage on every line matters more than sequences printed as letters.
    tell_code_page_contradicted();
    return true;
}

// A code page told from the report is named, with how sure the program is.
void MenuSession::tell_told_code_page() {
    const PrintJob& j = job();
    if (j.CodePageAsked && j.CodePageAsked->automatic) {
        tell(messages::kCodePageTold + std::string(code_page_name(j.CodePage)) +
             messages::kCodePageCertainty + std::to_string(j.CodePageCertainty) + " %)");
    }
}

// A page chosen by hand stays for later reports, which may be in another.
void MenuSession::tell_code_page_contradicted() {
    const PrintJob& j = job();
    if (!j.CodePageAsked || j.CodePageAsked->automatic) {
        return;
    }
    const std::optional<CodePageGuess> told = code_page_told_otherwise(j, page_model(j));
    if (!told) {
        return;
    }
    m_offer_told_code_page = true;
    tell(messages::kCodePageOtherwise + std::string(code_page_name(told->page)) +
         messages::kCodePageCertainty + std::to_string(told->certainty) + " %)" +
         messages::kCodePageNotChosen + std::string(code_page_name(j.CodePage)) +
         messages::kCodePageSwitchHint);
}

void MenuSession::choose_printer(std::shared_ptr<const Destination> destination) {
    m_print.end_document();
    m_binding.bind(destination, offset_for(*destination));
    m_settings.remember_printer(*destination);
    tell(messages::kPrinterChosen + printer().device_name());
}

LanguageChoice MenuSession::language() const {
    const PrintJob& j = job();
    if (j.LanguageByReport) {
        return LanguageChoice::Auto;
    }
    return language_of(j) == PrinterLanguage::Epson ? LanguageChoice::Epson : LanguageChoice::Text;
}

// Sequences take no cells in the ESC/P mode: a report on view is planned again.
void MenuSession::set_language(LanguageChoice choice) {
    choose_language(job(), choice);
    m_settings.remember_language(choice);
}

std::int64_t MenuSession::form_length() const {
    return job().PrinterFormLength;
}

// Where an Epson report's pages break: a report on view is planned again.
bool MenuSession::set_form_length(const std::string& text) {
    const std::optional<std::int64_t> length = parse_form_length(text);
    if (!length) {
        return false;
    }
    job().PrinterFormLength = *length;
    m_settings.remember_form_length(text);
    return true;
}

CodePageChoice MenuSession::code_page() const {
    return job().CodePageAsked.value_or(CodePageChoice{});
}

// Its letters and frames are other bytes: a report on view is planned again.
void MenuSession::set_code_page(const CodePageChoice& choice) {
    job().CodePageAsked = choice;
    m_settings.remember_code_page(choice);
}

bool MenuSession::fit_pages() const {
    return job().FitPages;
}

void MenuSession::set_fit_pages(bool on) {
    job().FitPages = on;
    m_settings.remember_fit_pages(on);
}

SheetOffset MenuSession::offset_for(const Destination& printer) const {
    return job().OffsetAsked.value_or(m_settings.offset_for(printer));
}

SheetOffset MenuSession::offset() const {
    return m_binding.is_bound() ? offset_for(m_binding.destination()) : SheetOffset{};
}

// The surface is made anew for the same printer: pages already held for the
// PDF printer's file keep the offset they were printed with.
void MenuSession::set_offset(const SheetOffset& offset) {
    if (!m_binding.is_bound()) {
        return;
    }
    m_print.end_document();
    job().OffsetAsked.reset();
    m_settings.remember_offset(m_binding.destination(), offset);
    m_binding.bind(m_binding.shared_destination(), offset);
    tell(messages::kOffsetChosen + sheet_offset_text(offset) + messages::kOffsetChosenFor +
         printer().device_name());
}

bool MenuSession::print_calibration_page() {
    if (!m_binding.is_bound()) {
        return false;
    }
    const SheetOffset current = offset();
    return m_print.print_sheet(messages::kCalibrationDocument,
                               [current] { draw_calibration_page(printer(), current); });
}

std::optional<std::string> MenuSession::report_to_plan_again() {
    if (!m_print.has_job()) {
        return std::nullopt;
    }
    m_print.end_document();
    return m_print.report_path();
}

std::string MenuSession::printer_name() const {
    return printer().device_name();
}

PrintData MenuSession::print_data() const {
    return kvalon::print_data(job(), printer_name(),
                              printer().job_preview(planned_cell_area(job())));
}

} // namespace kvalon
