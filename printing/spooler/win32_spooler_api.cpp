#include "engine/error.h"
#include "engine/messages.h"
#include "printing/spooler/spooler_api.h"
#include "printing/spooler/spooler_printers.h"
#include "printing/spooler/win32_device.h"
#include "printing/spooler/win32_gdi_document.h"
#include "printing/spooler/win32_raw_job.h"
#include "printing/spooler/win32_text.h"

#include <algorithm>
#include <windows.h>
#include <winspool.h>

namespace kvalon {

namespace {

// The local printers and the connections to shared ones.
std::vector<std::string> enumerated_printers() {
    const DWORD flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
    DWORD needed = 0;
    DWORD count = 0;
    ::EnumPrintersW(flags, nullptr, 4, nullptr, 0, &needed, &count);
    std::vector<BYTE> buffer(needed);
    if (needed == 0 ||
        !::EnumPrintersW(flags, nullptr, 4, buffer.data(), needed, &needed, &count)) {
        return {};
    }
    std::vector<std::string> names;
    const auto* printers = reinterpret_cast<const PRINTER_INFO_4W*>(buffer.data());
    for (DWORD i = 0; i < count; ++i) {
        names.push_back(utf8_of(printers[i].pPrinterName));
    }
    return names;
}

std::vector<int> offered_papers(const std::wstring& printer) {
    const int count = ::DeviceCapabilitiesW(printer.c_str(), nullptr, DC_PAPERS, nullptr, nullptr);
    if (count <= 0) {
        return {};
    }
    std::vector<WORD> papers(static_cast<std::size_t>(count));
    ::DeviceCapabilitiesW(printer.c_str(), nullptr, DC_PAPERS,
                          reinterpret_cast<wchar_t*>(papers.data()), nullptr);
    return {papers.begin(), papers.end()};
}

bool mentions(const std::wstring& words, const wchar_t* word) {
    std::wstring upper = words;
    std::transform(upper.begin(), upper.end(), upper.begin(), ::towupper);
    return upper.find(word) != std::wstring::npos;
}

// Whether the driver passes PostScript through as it is: every PostScript
// driver does, whatever it is named.
bool passes_postscript(HDC info) {
    const int escape = POSTSCRIPT_PASSTHROUGH;
    return ::ExtEscape(info, QUERYESCSUPPORT, sizeof escape, reinterpret_cast<LPCSTR>(&escape), 0,
                       nullptr) > 0;
}

// The languages its driver reads: the personalities it names (DC_PERSONALITY,
// 32 characters each), else what its driver's name says.
std::vector<std::string> driver_languages(const std::wstring& printer, const std::wstring& driver,
                                          bool postscript) {
    std::wstring words = driver;
    const int count =
        ::DeviceCapabilitiesW(printer.c_str(), nullptr, DC_PERSONALITY, nullptr, nullptr);
    if (count > 0) {
        std::vector<wchar_t> names(static_cast<std::size_t>(count) * 32 + 1, L'\0');
        ::DeviceCapabilitiesW(printer.c_str(), nullptr, DC_PERSONALITY, names.data(), nullptr);
        for (int i = 0; i < count; ++i) {
            words += L' ';
            words += std::wstring(names.data() + i * 32, wcsnlen(names.data() + i * 32, 32));
        }
    }
    std::vector<std::string> languages;
    if (postscript || mentions(words, L"POSTSCRIPT") || mentions(words, L" PS")) {
        languages.push_back(document_kind_title(DocumentKind::PostScript));
    }
    if (mentions(words, L"PCL")) {
        languages.push_back(document_kind_title(DocumentKind::Pcl));
    }
    if (mentions(words, L"PDF")) {
        languages.push_back(document_kind_title(DocumentKind::Pdf));
    }
    return languages;
}

class Win32Spooler final : public SpoolerApi {
public:
    std::vector<std::string> printers() const override { return enumerated_printers(); }

    std::string default_printer() const override {
        DWORD length = 0;
        ::GetDefaultPrinterW(nullptr, &length);
        std::wstring name(length, L'\0');
        if (length == 0 || !::GetDefaultPrinterW(name.data(), &length)) {
            return {};
        }
        return utf8_of(name.c_str());
    }

    SpoolerPrinter printer(const std::string& name) const override {
        PrinterHandle handle(name);
        SpoolerPrinter printer;
        JobDevmode devmode = printer_devmode(name);
        if (const DEVMODEW* own = devmode.get(); own != nullptr && (own->dmFields & DM_PAPERSIZE)) {
            printer.paper_code = own->dmPaperSize;
        }
        const std::wstring wide = wide_of(name);
        printer.paper_codes = offered_papers(wide);
        bool postscript = false;
        HDC info = ::CreateICW(L"WINSPOOL", wide.c_str(), nullptr, devmode.get());
        if (info != nullptr) {
            printer.area = device_area(info);
            postscript = passes_postscript(info);
            ::DeleteDC(info);
        }
        printer.languages = driver_languages(wide, handle.driver(), postscript);
        return printer;
    }

    std::unique_ptr<SpoolerDocument>
    start_document(const SpoolerDocumentRequest& request) const override {
        return start_gdi_document(request);
    }

    int send_raw(const std::string& printer, const std::string& title, const std::string& path,
                 int copies) const override {
        return send_raw_job(printer, title, path, copies);
    }

    SpoolerJobLook look_at_job(const std::string& printer, int job) const override {
        return look_at_spooler_job(printer, job);
    }

    void pause() const override { ::Sleep(250); }
};

} // namespace

// The spooler answers on this machine: there is no connection to wait for.
void set_print_service_wait(int) {}

std::shared_ptr<const SpoolerApi> system_spooler() {
    static const auto spooler = std::make_shared<const Win32Spooler>();
    return spooler;
}

const SystemPrinters& spooler_printers() {
    static const std::unique_ptr<SystemPrinters> printers = spooler_printers_on(system_spooler());
    return *printers;
}

} // namespace kvalon
