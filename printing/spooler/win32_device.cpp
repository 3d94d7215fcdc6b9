#include "printing/spooler/win32_device.h"

#include "printing/program_font.h"
#include "printing/spooler/win32_text.h"

#include <filesystem>
#include <mutex>
#include <winspool.h>

namespace kvalon {

namespace {

constexpr const wchar_t* kProgramFamily = L"CourierCyr";

int CALLBACK note_family(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool family_offered(const wchar_t* family) {
    HDC screen = ::GetDC(nullptr);
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    ::wcsncpy(wanted.lfFaceName, family, LF_FACESIZE - 1);
    bool found = false;
    ::EnumFontFamiliesExW(screen, &wanted, note_family, reinterpret_cast<LPARAM>(&found), 0);
    ::ReleaseDC(nullptr, screen);
    return found;
}

} // namespace

DEVMODEW* JobDevmode::get() {
    return m_bytes.size() < sizeof(DEVMODEW) ? nullptr
                                             : reinterpret_cast<DEVMODEW*>(m_bytes.data());
}

void JobDevmode::set(const SpoolerDocumentRequest& request) {
    DEVMODEW* devmode = get();
    if (devmode == nullptr) {
        return;
    }
    if (request.paper_code > 0 && request.paper_code < DMPAPER_USER) {
        devmode->dmPaperSize = static_cast<short>(request.paper_code);
        devmode->dmFields |= DM_PAPERSIZE;
    }
    devmode->dmOrientation =
        static_cast<short>(request.landscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT);
    devmode->dmCopies = static_cast<short>(request.copies);
    devmode->dmFields |= DM_ORIENTATION | DM_COPIES;
}

JobDevmode printer_devmode(const std::string& printer) {
    std::wstring name = wide_of(printer);
    HANDLE handle = nullptr;
    if (!::OpenPrinterW(name.data(), &handle, nullptr)) {
        return JobDevmode({});
    }
    const LONG size = ::DocumentPropertiesW(nullptr, handle, name.data(), nullptr, nullptr, 0);
    std::vector<BYTE> bytes(size > 0 ? static_cast<std::size_t>(size) : 0);
    if (size <= 0 || ::DocumentPropertiesW(nullptr, handle, name.data(),
                                           reinterpret_cast<DEVMODEW*>(bytes.data()), nullptr,
                                           DM_OUT_BUFFER) != IDOK) {
        bytes.clear();
    }
    ::ClosePrinter(handle);
    return JobDevmode(std::move(bytes));
}

DeviceArea device_area(HDC dc) {
    DeviceArea area;
    area.dpi_x = ::GetDeviceCaps(dc, LOGPIXELSX);
    area.dpi_y = ::GetDeviceCaps(dc, LOGPIXELSY);
    area.offset_x = ::GetDeviceCaps(dc, PHYSICALOFFSETX);
    area.offset_y = ::GetDeviceCaps(dc, PHYSICALOFFSETY);
    area.printable_width = ::GetDeviceCaps(dc, HORZRES);
    area.printable_height = ::GetDeviceCaps(dc, VERTRES);
    area.sheet_width = ::GetDeviceCaps(dc, PHYSICALWIDTH);
    area.sheet_height = ::GetDeviceCaps(dc, PHYSICALHEIGHT);
    return area;
}

// Loaded for this process only: nothing is installed on the user's behalf
// while printing.
void load_program_font() {
    static std::once_flag loaded;
    std::call_once(loaded, [] {
        if (family_offered(kProgramFamily)) {
            return;
        }
        for (const std::string& candidate : program_font_candidates()) {
            const std::wstring path = wide_of(candidate);
            if (std::filesystem::exists(std::filesystem::path(path)) &&
                ::AddFontResourceExW(path.c_str(), FR_PRIVATE, nullptr) > 0) {
                return;
            }
        }
    });
}

} // namespace kvalon
