#include "startup/install_font.h"

#include "engine/atomic_file.h"
#include "engine/error.h"
#include "engine/file_checks.h"
#include "engine/messages.h"
#include "engine/notice.h"
#include "engine/print_job.h"
#include "engine/printer_surface.h"
#include "platform/fonts_folder.h"
#include "platform/path_text.h"
#include "printing/program_font.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

namespace kvalon {

namespace fs = std::filesystem;

namespace {

bool is_offered(const FontInstallation& installation) {
    const auto& faces = installation.offered_faces;
    return std::find(faces.begin(), faces.end(), installation.face) != faces.end();
}

// Puts a copy of `source` in place of `target` in `folder`, made when
// missing. The old target stays as it was unless the whole copy succeeded;
// rename() replaces it even when it is read-only.
bool replace_by_copy(const fs::path& source, const fs::path& folder, const fs::path& target) {
    std::error_code error;
    fs::create_directories(folder, error);
    std::ifstream in(source, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    if (error || !in) {
        return false;
    }
    try {
        // Fonts are readable by everyone.
        replace_file_atomically(text_of(target), content.view(), 0644);
    } catch (const KvalonError&) {
        return false;
    }
    return true;
}

// The copy in `folder`, told to the system, or nothing when it failed.
std::optional<std::string> copied_into(const FontInstallation& installation, const fs::path& source,
                                       const std::string& folder, bool own_folder) {
    const fs::path target = path_of(folder) / path_of(installation.file_name);
    if (!replace_by_copy(source, path_of(folder), target)) {
        return std::nullopt;
    }
    if (installation.make_known) {
        installation.make_known(text_of(target), own_folder);
    }
    return text_of(target);
}

} // namespace

FontsFolder find_fonts_folder() {
    return system_fonts_folder(process_environment());
}

namespace {

std::vector<std::string> printer_faces() {
    std::vector<std::string> faces;
    PrinterSurface& surface = printer();
    const int count = surface.font_count();
    faces.reserve(static_cast<std::size_t>(std::max(count, 0)));
    for (int i = 0; i < count; ++i) {
        faces.push_back(surface.font(i));
    }
    return faces;
}

} // namespace

std::optional<std::string> install_font_file(const FontInstallation& installation) {
    if (is_offered(installation)) {
        return std::nullopt;
    }
    const FontsFolder folder = installation.find_fonts_folder();
    if (folder.status == FontsFolder::Status::UnknownPlatform) {
        // Without a known system there is no real fonts folder to write to.
        installation.show_message(messages::kUnknownSystem);
        return std::nullopt;
    }
    const fs::path source = path_of(installation.program_folder) / path_of(installation.file_name);
    if (!is_regular_file(text_of(source))) {
        installation.show_message(messages::kFontFileMissing + installation.file_name);
        installation.show_message(messages::kInstallFontYourself);
        return std::nullopt;
    }
    // Without a fonts folder the target would be a bare file name in the
    // current folder, possibly the program folder itself: copy nothing then.
    if (folder.status == FontsFolder::Status::Found) {
        if (auto copied = copied_into(installation, source, folder.path, false)) {
            return copied;
        }
    }
    if (const auto own = installation.find_own_fonts_folder ? installation.find_own_fonts_folder()
                                                            : std::nullopt) {
        if (auto copied = copied_into(installation, source, *own, true)) {
            return copied;
        }
    }
    installation.show_message(messages::kInstallFontFrom + installation.face + messages::kFromFile +
                              installation.file_name);
    return text_of(source);
}

void install_font() {
    const PrintJob& j = job();
    FontInstallation installation;
    // Where the system draws the printers' pages, the system must have the
    // face; elsewhere the printer's own list tells.
    installation.offered_faces = system_font_faces().value_or(printer_faces());
    installation.face = j.FontFace;
    installation.file_name = j.FontFileName;
    installation.program_folder = program_folder();
    installation.find_fonts_folder = find_fonts_folder;
    installation.show_message = tell_user;
    installation.find_own_fonts_folder = [] { return own_fonts_folder(process_environment()); };
    installation.make_known = [&j](const std::string& file, bool own_folder) {
        make_font_known(file, j.FontFace, own_folder);
    };
    install_font_file(installation);
}

void check_delivered_font() {
    const PrintJob& j = job();
    const std::vector<std::string> faces = printer_faces();
    if (std::find(faces.begin(), faces.end(), j.FontFace) != faces.end()) {
        return;
    }
    const fs::path file = path_of(program_folder()) / path_of(j.FontFileName);
    if (!is_regular_file(text_of(file))) {
        tell_user(messages::kFontFileMissing + j.FontFileName);
        tell_user(messages::kInstallFontYourself);
        return;
    }
    tell_user(messages::kInstallFontFrom + j.FontFace + messages::kFromFile + j.FontFileName);
}

} // namespace kvalon
