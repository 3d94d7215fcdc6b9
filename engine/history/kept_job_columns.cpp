#include "engine/history/kept_job_columns.h"

#include "engine/messages.h"
#include "platform/local_time.h"

#include <cstdio>
#include <ctime>

namespace kvalon {

namespace {

std::string time_shown(std::int64_t time) {
    const LocalTime local = local_time(static_cast<std::time_t>(time));
    char text[80];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", local.fields.tm_year + 1900,
                  local.fields.tm_mon + 1, local.fields.tm_mday, local.fields.tm_hour,
                  local.fields.tm_min);
    return text;
}

std::string on_one_line(std::string text) {
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
            c = '?';
        }
    }
    return text;
}

std::string where_shown(const JobRecord& record) {
    if (!record.pdf.empty()) {
        return messages::kHistoryPdfTo + record.pdf;
    }
    return record.printer.empty() ? messages::kDefaultPrinterShown : record.printer;
}

std::string outcome_shown(const JobRecord& record) {
    switch (record.outcome) {
    case JobRecord::Outcome::Printed:
        return messages::kJobPrinted;
    case JobRecord::Outcome::Failed:
        return messages::kJobNotPrinted + (record.reason.empty() ? "" : ": " + record.reason);
    case JobRecord::Outcome::Printing:
        break;
    }
    return messages::kJobPrinting;
}

} // namespace

KeptJobColumns kept_job_columns(const JobRecord& record) {
    return {time_shown(record.time), on_one_line(record.report),
            record.pages ? std::to_string(*record.pages) : "?", on_one_line(where_shown(record)),
            on_one_line(outcome_shown(record))};
}

} // namespace kvalon
