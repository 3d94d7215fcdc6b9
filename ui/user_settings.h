#pragma once

#include "engine/code_page.h"
#include "engine/sheet_offset.h"
#include "printing/destination.h"
#include "ui/settings_store.h"

#include <memory>
#include <optional>
#include <string>

namespace kvalon {

// What the windows remember for the user between runs, in `store`.
class UserSettings {
public:
    explicit UserSettings(SettingsStore& store) : m_store(store) {}

    // The folder the last report was chosen in; empty when none is
    // remembered or it no longer exists.
    std::string folder() const;
    void remember_folder_of(const std::string& report_path);

    // The printer the user picked last, when it is still there (a queue the
    // print service still offers, the PDF printer writing into a folder that
    // still exists); null otherwise.
    std::shared_ptr<const Destination> printer() const;
    void remember_printer(const Destination& destination);

    // Whether reports print as on an Epson printer (the ESC/P mode).
    bool escp_mode() const;
    void remember_escp_mode(bool on);

    // The code page the user chose last for reading reports, or "auto".
    std::optional<CodePageChoice> code_page() const;
    void remember_code_page(const CodePageChoice& choice);

    // Whether each page a report makes with a form feed is fitted on one sheet.
    bool fit_pages() const;
    void remember_fit_pages(bool on);

    // How far pages are moved on the sheet for `printer`: each queue has its
    // own, the PDF printer one whatever file it writes; zero when none was
    // chosen.
    SheetOffset offset_for(const Destination& printer) const;
    void remember_offset(const Destination& printer, const SheetOffset& offset);

private:
    bool flag(const std::string& key) const;

    SettingsStore& m_store;
};

} // namespace kvalon
