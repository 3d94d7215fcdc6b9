#pragma once

#include "engine/code_page.h"
#include "engine/printer_language.h"
#include "engine/sheet_offset.h"
#include "printing/destination.h"
#include "ui/listeners.h"
#include "ui/print_data.h"
#include "ui/print_session.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace kvalon {

class PrinterBinding;
class UserSettings;
class WindowServices;

// What the menu window does, without its toolkit: a report chosen is planned
// and becomes the print session's job; the printer and the ways reports are
// read (the language, the code page, a report's page on one sheet, the
// printer's form length) are chosen and remembered; the print data are what the window shows of the
// job. What the user should read goes to the status line (`status`).
//
// The ways reports are read come from the command line or the environment
// for this run, else from what the user chose last.
class MenuSession {
public:
    MenuSession(PrinterBinding& binding, UserSettings& settings, WindowServices& services);

    PrintSession& print_session() { return m_print; }
    const PrintSession& print_session() const { return m_print; }
    UserSettings& settings() { return m_settings; }
    const PrinterBinding& binding() const { return m_binding; }

    // The folder the file dialog opens in: where the last report was chosen,
    // in this run or an earlier one (a cancel forgets nothing), else `home`.
    // While the dialog is open no report is chosen.
    std::string start_choice(const std::string& home);
    // Takes the report at `path` as the job: the folder is remembered, the
    // report planned (told and dropped when it cannot be). Empty: the choice
    // was cancelled, and the source of an earlier choice stays open. True
    // when there is a job to show.
    bool open_report(const std::string& path);
    // Sequences read as plain text print as their letters: whether the mode
    // is offered for the report last opened (the status line has said why).
    bool offers_escp_mode() const { return m_offer_escp; }
    // A code page chosen by hand that the report's own letters clearly
    // contradict: whether "auto" is offered for it (the status line has
    // said which page the report is in).
    bool offers_told_code_page() const { return m_offer_told_code_page; }

    // The printer that prints from now on: the pages printed so far go to the
    // printer they were printed for first.
    void choose_printer(std::shared_ptr<const Destination> destination);
    // "Auto": the language told from each report as it is planned.
    LanguageChoice language() const;
    void set_language(LanguageChoice choice);
    // The form length the printer is set to (printer units,
    // engine/escp/escp_state.h).
    std::int64_t form_length() const;
    // As the user writes it ("12in", "a4", "70" lines); false, and nothing
    // changed, for a text that is no form length.
    bool set_form_length(const std::string& text);
    CodePageChoice code_page() const;
    void set_code_page(const CodePageChoice& choice);
    bool fit_pages() const;
    void set_fit_pages(bool on);
    // How far the printer bound moves every page on its sheet: the run's own
    // (--offset, KVALON_OFFSET), else the one remembered for that printer; a
    // new offset is remembered and prints from the next page on (the pages
    // printed so far are written first). Zero with no printer.
    SheetOffset offset() const;
    void set_offset(const SheetOffset& offset);
    // The calibration page (printing/calibration_page.h) on the printer
    // bound, with its offset, as a document of its own. False, told, when
    // nothing was printed.
    bool print_calibration_page();
    // After any of these the report on view, if any, is planned anew from its
    // first page: the report to open again, its pages printed so far written
    // first. Nothing when there is no job.
    std::optional<std::string> report_to_plan_again();

    PrintData print_data() const;
    // The printer's name as the print data show it.
    std::string printer_name() const;

    Listeners<std::string> status;

private:
    void tell(const std::string& text) { status.notify(text); }
    void tell_told_code_page();
    void tell_code_page_contradicted();
    SheetOffset offset_for(const Destination& printer) const;

    PrinterBinding& m_binding;
    UserSettings& m_settings;
    PrintSession m_print;
    bool m_offer_escp = false;
    bool m_offer_told_code_page = false;
};

} // namespace kvalon
