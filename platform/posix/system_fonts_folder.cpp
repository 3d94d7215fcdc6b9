#include "platform/fonts_folder.h"

namespace kvalon {

FontsFolder system_fonts_folder(const Environment& environment) {
    if (const std::optional<std::string> folder = user_fonts_folder(environment)) {
        return {FontsFolder::Status::Found, *folder};
    }
    return {FontsFolder::Status::NotFound, {}};
}

} // namespace kvalon
