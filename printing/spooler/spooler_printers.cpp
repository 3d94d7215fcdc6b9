#include "printing/spooler/spooler_printers.h"

#include "engine/error.h"
#include "engine/messages.h"

#include <algorithm>
#include <vector>
#include <windows.h>
#include <winspool.h>

namespace kvalon {

namespace {

std::string utf8_of(const wchar_t* wide) {
    if (wide == nullptr || *wide == L'\0') {
        return {};
    }
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(std::max(length, 1)) - 1, '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), length, nullptr, nullptr);
    return text;
}

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

std::string default_printer() {
    DWORD length = 0;
    ::GetDefaultPrinterW(nullptr, &length);
    std::wstring name(length, L'\0');
    if (length == 0 || !::GetDefaultPrinterW(name.data(), &length)) {
        return {};
    }
    return utf8_of(name.c_str());
}

class SpoolerPrinters final : public SystemPrinters {
public:
    std::vector<std::string> names() const override { return enumerated_printers(); }

    PrinterChoice choose(const PrinterRequest& request) const override {
        const std::vector<std::string> printers = enumerated_printers();
        if (printers.empty()) {
            return {};
        }
        const std::string name = request.printer.empty() ? default_printer() : request.printer;
        if (std::find(printers.begin(), printers.end(), name) == printers.end()) {
            throw KvalonError(ErrorKind::Printer, name, messages::kNoSuchQueue);
        }
        throw KvalonError(ErrorKind::Printer, name, messages::kWindowsPrinterNotYet);
    }

    std::shared_ptr<const Destination> picked(const Destination*,
                                              const std::string&) const override {
        return nullptr;
    }

    std::shared_ptr<const Destination> restore(const RememberedPrinter&) const override {
        return nullptr;
    }
};

} // namespace

// The spooler answers on this machine: there is no connection to wait for.
void set_print_service_wait(int) {}

const SystemPrinters& spooler_printers() {
    static const SpoolerPrinters printers;
    return printers;
}

} // namespace kvalon
