#include "ui/user_settings.h"

#include "engine/escp/escp_form_length.h"
#include "printing/choice/printer_choice.h"

#include <cctype>
#include <filesystem>

namespace kvalon {

namespace {
const std::string kFolderKey = "files/folder";
// The printer's kind and its own fields, each under "printer/".
const std::string kPrinterGroup = "printer";
const std::string kPrinterKindKey = "kind";
// Before "auto" there was a switch: on was the ESC/P mode.
const std::string kOldEscpKey = "printer/escp";
const std::string kLanguageKey = "report/language";
const std::string kFormLengthKey = "printer/form-length";
const std::string kWindowsGroup = "windows/";
const std::string kLanguageAuto = "auto";
const std::string kLanguageEpson = "epson";
const std::string kLanguageText = "text";
const std::string kLanguagePcl = "pcl";
const std::string kCodePageKey = "report/code-page";
const std::string kFitPagesKey = "printer/fit-pages";
// One key under "offsets/" for each printer, its kind and queue in it.
const std::string kOffsetGroup = "offsets/";
const std::string kTrue = "true";
const std::string kFalse = "false";
// A printer as a key of the settings: letters and digits as they are, every
// other byte (the group separator "/" among them) as %XX.
std::string offset_key(const Destination& printer) {
    const RememberedPrinter remembered = printer.remembered();
    const auto queue = remembered.fields.find("queue");
    const std::string name =
        remembered.kind + (queue != remembered.fields.end() ? "-" + queue->second : "");
    std::string key = kOffsetGroup;
    constexpr const char* kHex = "0123456789ABCDEF";
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) != 0 || c == '-' || c == '_') {
            key += c;
        } else {
            key += {'%', kHex[byte >> 4], kHex[byte & 0xF]};
        }
    }
    return key;
}

} // namespace

std::string UserSettings::folder() const {
    const std::string folder = m_store.value(kFolderKey).value_or(std::string());
    std::error_code error;
    if (folder.empty() || !std::filesystem::is_directory(folder, error)) {
        return {};
    }
    return folder;
}

void UserSettings::remember_folder_of(const std::string& report_path) {
    std::error_code error;
    const std::filesystem::path report = std::filesystem::absolute(report_path, error);
    m_store.set_value(kFolderKey, report.lexically_normal().parent_path().string());
}

std::shared_ptr<const Destination> UserSettings::printer() const {
    RememberedPrinter remembered;
    remembered.kind = m_store.value(kPrinterGroup + "/" + kPrinterKindKey).value_or(std::string());
    if (remembered.kind.empty()) {
        return nullptr;
    }
    for (const std::string& key : m_store.keys_in(kPrinterGroup)) {
        if (key != kPrinterKindKey) {
            remembered.fields[key] =
                m_store.value(kPrinterGroup + "/" + key).value_or(std::string());
        }
    }
    return restore_printer(remembered);
}

void UserSettings::remember_printer(const Destination& destination) {
    const RememberedPrinter remembered = destination.remembered();
    m_store.set_value(kPrinterGroup + "/" + kPrinterKindKey, remembered.kind);
    for (const auto& [key, value] : remembered.fields) {
        m_store.set_value(kPrinterGroup + "/" + key, value);
    }
}

bool UserSettings::flag(const std::string& key) const {
    return m_store.value(key) == kTrue;
}

LanguageChoice UserSettings::language() const {
    const std::optional<std::string> name = m_store.value(kLanguageKey);
    if (!name) {
        return flag(kOldEscpKey) ? LanguageChoice::Epson : LanguageChoice::Auto;
    }
    if (*name == kLanguageEpson) {
        return LanguageChoice::Epson;
    }
    if (*name == kLanguagePcl) {
        return LanguageChoice::Pcl;
    }
    return *name == kLanguageText ? LanguageChoice::Text : LanguageChoice::Auto;
}

void UserSettings::remember_language(LanguageChoice choice) {
    switch (choice) {
    case LanguageChoice::Auto:
        m_store.set_value(kLanguageKey, kLanguageAuto);
        return;
    case LanguageChoice::Epson:
        m_store.set_value(kLanguageKey, kLanguageEpson);
        return;
    case LanguageChoice::Text:
        m_store.set_value(kLanguageKey, kLanguageText);
        return;
    case LanguageChoice::Pcl:
        m_store.set_value(kLanguageKey, kLanguagePcl);
        return;
    }
}

std::optional<std::string> UserSettings::form_length() const {
    std::optional<std::string> text = m_store.value(kFormLengthKey);
    if (!text || !parse_form_length(*text)) {
        return std::nullopt;
    }
    return text;
}

void UserSettings::remember_form_length(const std::string& text) {
    m_store.set_value(kFormLengthKey, text);
}

std::optional<WindowPlace> UserSettings::window_place(const std::string& window) const {
    const std::optional<std::string> text = m_store.value(kWindowsGroup + window);
    return text ? place_from_text(*text) : std::nullopt;
}

void UserSettings::remember_window_place(const std::string& window, const WindowPlace& place) {
    m_store.set_value(kWindowsGroup + window, place_text(place));
}

std::optional<CodePageChoice> UserSettings::code_page() const {
    const std::string name = m_store.value(kCodePageKey).value_or(std::string());
    return name.empty() ? std::nullopt : code_page_choice_named(name);
}

void UserSettings::remember_code_page(const CodePageChoice& choice) {
    m_store.set_value(kCodePageKey, std::string(code_page_choice_name(choice)));
}

bool UserSettings::fit_pages() const {
    return flag(kFitPagesKey);
}

void UserSettings::remember_fit_pages(bool on) {
    m_store.set_value(kFitPagesKey, on ? kTrue : kFalse);
}

SheetOffset UserSettings::offset_for(const Destination& printer) const {
    const std::optional<std::string> text = m_store.value(offset_key(printer));
    return text ? parse_sheet_offset(*text).value_or(SheetOffset{}) : SheetOffset{};
}

void UserSettings::remember_offset(const Destination& printer, const SheetOffset& offset) {
    m_store.set_value(offset_key(printer), sheet_offset_text(offset));
}

} // namespace kvalon
