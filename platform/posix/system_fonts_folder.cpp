#include "platform/fonts_folder.h"

namespace kvalon {

FontsFolder system_fonts_folder(const Environment& environment) {
    if (const std::optional<std::string> folder = user_fonts_folder(environment)) {
        return {FontsFolder::Status::Found, *folder};
    }
    return {FontsFolder::Status::NotFound, {}};
}

std::optional<std::string> own_fonts_folder(const Environment&) {
    return std::nullopt;
}

std::optional<std::vector<std::string>> system_font_faces() {
    return std::nullopt;
}

bool make_font_known(const std::string&, const std::string&, bool) {
    return true;
}

} // namespace kvalon
