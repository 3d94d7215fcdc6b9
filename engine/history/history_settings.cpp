#include "engine/history/history_settings.h"

#include "engine/messages.h"
#include "engine/whole_number.h"

#include <cstdlib>
#include <optional>

namespace kvalon {

namespace {

std::string variable(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

std::optional<int> number_setting(const char* name, std::vector<std::string>& warnings) {
    const std::string text = variable(name);
    if (text.empty()) {
        return std::nullopt;
    }
    const std::optional<int> number = parse_whole_number(text);
    if (!number || *number < 0) {
        warnings.push_back(messages::kHistorySettingUnusable + name + "=" + text);
        return std::nullopt;
    }
    return number;
}

// The state folder is ours only when it is an absolute path.
std::string state_folder() {
    const std::string state = variable("XDG_STATE_HOME");
    if (!state.empty() && state.front() == '/') {
        return state;
    }
    const std::string home = variable("HOME");
    if (!home.empty() && home.front() == '/') {
        return home + "/.local/state";
    }
    return {};
}

} // namespace

HistorySettings history_settings_from_environment(std::vector<std::string>& warnings) {
    HistorySettings settings;
    const std::string state = state_folder();
    if (!state.empty()) {
        settings.folder = state + "/kvalon-p/history";
    }
    if (const auto days = number_setting("KVALON_HISTORY_DAYS", warnings)) {
        settings.days = *days;
    }
    if (const auto megabytes = number_setting("KVALON_HISTORY_MB", warnings)) {
        settings.most_bytes = std::int64_t{*megabytes} * 1024 * 1024;
    }
    return settings;
}

} // namespace kvalon
