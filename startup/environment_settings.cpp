#include "startup/environment_settings.h"

#include "engine/error.h"
#include "engine/whole_number.h"
#include "startup/command_line.h"

#include <cstdlib>
#include <optional>
#include <string>

namespace kvalon {

int environment_number(const char* name, int fallback) {
    const char* text = std::getenv(name);
    if (text == nullptr || *text == '\0') {
        return fallback;
    }
    const std::optional<int> value = parse_whole_number(text);
    if (!value) {
        throw KvalonError(ErrorKind::CommandLine, std::string(name) + "=" + text);
    }
    return *value;
}

bool escp_from_environment() {
    const int value = environment_number("KVALON_ESCP", 0);
    if (value != 0 && value != 1) {
        throw KvalonError(ErrorKind::CommandLine, "KVALON_ESCP=" + std::to_string(value));
    }
    return value == 1;
}

std::optional<CodePageChoice> code_page_from_environment() {
    const char* name = std::getenv("KVALON_CODE_PAGE");
    if (name == nullptr || *name == '\0') {
        return std::nullopt;
    }
    return parse_code_page_choice(name, std::string("KVALON_CODE_PAGE=") + name);
}

} // namespace kvalon
