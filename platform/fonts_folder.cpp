#include "platform/fonts_folder.h"

#include <algorithm>
#include <cctype>
#include <cstddef>

namespace kvalon {

namespace {

constexpr std::size_t kEntriesExamined = 200;

std::string upper_case(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

std::optional<std::string> variable_for(int platform_code) {
    switch (platform_code) {
    case kPlatformWin9x:
        return "WINBOOTDIR";
    case kPlatformNt:
        return "SYSTEMROOT";
    default:
        return std::nullopt;
    }
}

// The value of the last entry among `environment` whose name is `name` exactly.
std::optional<std::string> variable_value(const Environment& environment, const std::string& name) {
    std::optional<std::string> value;
    for (const std::string& entry : environment) {
        if (entry.size() > name.size() && entry.compare(0, name.size(), name) == 0 &&
            entry[name.size()] == '=') {
            value = entry.substr(name.size() + 1);
        }
    }
    return value;
}

} // namespace

FontsFolder windows_fonts_folder(int platform_code, const Environment& environment) {
    const std::optional<std::string> variable = variable_for(platform_code);
    if (!variable) {
        return {FontsFolder::Status::UnknownPlatform, {}};
    }
    FontsFolder folder;
    const std::size_t examined = std::min(environment.size(), kEntriesExamined);
    for (std::size_t i = 0; i < examined; ++i) {
        const std::string& entry = environment[i];
        if (entry.empty()) {
            break;
        }
        const std::size_t equals = entry.find('=');
        // A name that only begins with the variable's name matches too
        // (SYSTEMROOTX=...), as the walk has always done.
        if (equals == std::string::npos ||
            upper_case(entry).compare(0, variable->size(), *variable) != 0) {
            continue;
        }
        folder = {FontsFolder::Status::Found, entry.substr(equals + 1) + "\\FONTS\\"};
    }
    return folder;
}

std::optional<std::string> user_fonts_folder(const Environment& environment) {
    const auto data_home = variable_value(environment, "XDG_DATA_HOME");
    if (data_home && data_home->starts_with('/')) {
        return *data_home + "/fonts";
    }
    const auto home = variable_value(environment, "HOME");
    if (home && home->starts_with('/')) {
        return *home + "/.local/share/fonts";
    }
    return std::nullopt;
}

} // namespace kvalon
