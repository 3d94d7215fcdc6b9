#include "startup/watch/job_log.h"

#include "engine/error_line.h"
#include "engine/messages.h"

#include <cstdio>

namespace kvalon {

namespace {

// The length of the UTF-8 sequence at `at`, or 0 when none stands there.
std::size_t utf8_length_at(const std::string& text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = lead < 0x80                   ? 1
                               : lead >= 0xc2 && lead < 0xe0 ? 2
                               : lead >= 0xe0 && lead < 0xf0 ? 3
                               : lead >= 0xf0 && lead < 0xf5 ? 4
                                                             : 0;
    if (length == 0 || at + length > text.size()) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((static_cast<unsigned char>(text[at + i]) & 0xc0) != 0x80) {
            return 0;
        }
    }
    return length;
}

} // namespace

std::string shown_in_log(const std::string& name) {
    std::string shown;
    for (std::size_t at = 0; at < name.size();) {
        const std::size_t length = utf8_length_at(name, at);
        const auto byte = static_cast<unsigned char>(name[at]);
        if (length == 0 || byte < 0x20 || byte == 0x7f) {
            shown += '?';
            ++at;
        } else {
            shown.append(name, at, length);
            at += length;
        }
    }
    return shown;
}

void log_job(const std::string& name, const SpooledJobResult& result, const std::string& went_to,
             const std::optional<std::string>& placed) {
    std::string line = shown_in_log(name);
    if (result.printed) {
        line += messages::kSpoolJobPrinted;
        if (result.pages) {
            line += messages::kJobPagesLead + std::to_string(*result.pages) + messages::kJobPages;
        }
        line += messages::kJobWentTo + shown_in_log(went_to);
    } else {
        line += messages::kSpoolJobNotPrinted + shown_in_log(result.reason);
    }
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.2f", result.seconds);
    line += messages::kJobTook + seconds + messages::kJobSeconds;
    if (placed) {
        line +=
            placed->empty() ? messages::kJobRemoved : messages::kJobMovedTo + shown_in_log(*placed);
    }
    log_line(line);
}

void log_line(const std::string& text) {
    write_error_line(text);
}

} // namespace kvalon
