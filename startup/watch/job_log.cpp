#include "startup/watch/job_log.h"

#include "engine/error_line.h"
#include "engine/messages.h"

#include <cstdio>

namespace kvalon {

std::string shown_in_log(const std::string& name) {
    std::string shown = name;
    for (char& c : shown) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
            c = '?';
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
