#include "platform/fonts_folder.h"

#include "wide_text.h"

#include <windows.h>

namespace kvalon {

namespace {

constexpr wchar_t kRegisteredFonts[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";

int CALLBACK add_face(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM faces) {
    reinterpret_cast<std::vector<std::string>*>(faces)->push_back(utf8_text(font->lfFaceName));
    return 1;
}

// The registration is the file's name for a font in the system's folder and
// its whole path for one in the user's own, under "FACE (TrueType)".
bool register_font(const std::string& file, const std::string& face, bool own_folder) {
    HKEY fonts = nullptr;
    if (::RegCreateKeyExW(own_folder ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE, kRegisteredFonts, 0,
                          nullptr, 0, KEY_SET_VALUE, nullptr, &fonts, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const std::wstring name = wide_text(face + " (TrueType)");
    std::wstring value = wide_text(file);
    if (!own_folder) {
        value = value.substr(value.find_last_of(L"\\/") + 1);
    }
    const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    const bool stored =
        ::RegSetValueExW(fonts, name.c_str(), 0, REG_SZ,
                         reinterpret_cast<const BYTE*>(value.c_str()), bytes) == ERROR_SUCCESS;
    ::RegCloseKey(fonts);
    return stored;
}

} // namespace

// Every Windows this program runs on is of the NT family.
FontsFolder system_fonts_folder(const Environment& environment) {
    return windows_fonts_folder(kPlatformNt, environment);
}

std::optional<std::string> own_fonts_folder(const Environment& environment) {
    std::optional<std::string> local;
    for (const std::string& entry : environment) {
        if (entry.size() > 13 && _strnicmp(entry.c_str(), "LOCALAPPDATA=", 13) == 0) {
            local = entry.substr(13);
        }
    }
    if (!local || local->empty()) {
        return std::nullopt;
    }
    return *local + "\\Microsoft\\Windows\\Fonts";
}

// The families of the screen's fonts: the ones installed for every program.
std::optional<std::vector<std::string>> system_font_faces() {
    std::vector<std::string> faces;
    const HDC screen = ::GetDC(nullptr);
    if (screen == nullptr) {
        return faces;
    }
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    ::EnumFontFamiliesExW(screen, &wanted, add_face, reinterpret_cast<LPARAM>(&faces), 0);
    ::ReleaseDC(nullptr, screen);
    return faces;
}

// Programs running now hear of the font without waiting on any of them.
bool make_font_known(const std::string& file, const std::string& face, bool own_folder) {
    const bool registered = register_font(file, face, own_folder);
    ::AddFontResourceW(wide_text(file).c_str());
    ::PostMessageW(HWND_BROADCAST, WM_FONTCHANGE, 0, 0);
    return registered;
}

} // namespace kvalon
