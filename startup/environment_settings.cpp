#include "startup/environment_settings.h"

#include "engine/error.h"
#include "engine/escp/escp_form_length.h"
#include "engine/whole_number.h"
#include "printing/cups/cups_connection.h"
#include "startup/command_line.h"

#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

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

LanguageChoice language_from_environment() {
    const char* text = std::getenv("KVALON_ESCP");
    if (text == nullptr || *text == '\0' || std::string_view(text) == "auto") {
        return LanguageChoice::Auto;
    }
    const int value = environment_number("KVALON_ESCP", 0);
    if (value != 0 && value != 1) {
        throw KvalonError(ErrorKind::CommandLine, "KVALON_ESCP=" + std::to_string(value));
    }
    return value == 1 ? LanguageChoice::Epson : LanguageChoice::Text;
}

std::optional<std::int64_t> form_length_from_environment() {
    const char* text = std::getenv("KVALON_FORM_LENGTH");
    if (text == nullptr || *text == '\0') {
        return std::nullopt;
    }
    const std::optional<std::int64_t> length = parse_form_length(text);
    if (!length) {
        throw KvalonError(ErrorKind::CommandLine, std::string("KVALON_FORM_LENGTH=") + text);
    }
    return length;
}

std::optional<SheetOffset> offset_from_environment() {
    const char* text = std::getenv("KVALON_OFFSET");
    if (text == nullptr || *text == '\0') {
        return std::nullopt;
    }
    const std::optional<SheetOffset> offset = parse_sheet_offset(text);
    if (!offset) {
        throw KvalonError(ErrorKind::CommandLine, std::string("KVALON_OFFSET=") + text);
    }
    return offset;
}

int job_wait_from_environment(int fallback) {
    const int seconds = environment_number("KVALON_JOB_WAIT", fallback);
    if (seconds < 0) {
        throw KvalonError(ErrorKind::CommandLine, "KVALON_JOB_WAIT=" + std::to_string(seconds));
    }
    return seconds;
}

void apply_service_wait_from_environment() {
    const int seconds = environment_number("KVALON_SERVICE_WAIT", kPrintServiceSeconds);
    if (seconds < 1) {
        throw KvalonError(ErrorKind::CommandLine, "KVALON_SERVICE_WAIT=" + std::to_string(seconds));
    }
    set_print_service_wait(seconds);
}

std::optional<CodePageChoice> code_page_from_environment() {
    const char* name = std::getenv("KVALON_CODE_PAGE");
    if (name == nullptr || *name == '\0') {
        return std::nullopt;
    }
    return parse_code_page_choice(name, std::string("KVALON_CODE_PAGE=") + name);
}

} // namespace kvalon
