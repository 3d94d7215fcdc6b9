#include "printing/job_option.h"

namespace kvalon {

std::string options_text(const JobOptions& options) {
    std::string text;
    for (const JobOption& option : options) {
        if (!text.empty()) {
            text += ' ';
        }
        text += option.name;
        text += '=';
        text += option.value;
    }
    return text;
}

} // namespace kvalon
