#include "startup/history_commands.h"

#include "engine/error.h"
#include "engine/messages.h"
#include "platform/local_time.h"
#include "printing/print_page.h"

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

// A name that came from a file name may hold a newline: the list keeps a line a job.
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

std::string history_listing(const std::vector<KeptJob>& jobs) {
    std::string text;
    int number = 0;
    for (const KeptJob& kept : jobs) {
        const JobRecord& record = kept.record;
        char lead[24];
        std::snprintf(lead, sizeof lead, "%3d  ", ++number);
        text += lead + time_shown(record.time) + "  " + on_one_line(record.report) + "  " +
                (record.pages ? std::to_string(*record.pages) : "?") + messages::kJobPages + "  " +
                on_one_line(where_shown(record)) + "  " + on_one_line(outcome_shown(record)) + "\n";
    }
    return text;
}

const KeptJob& job_to_reprint(const std::vector<KeptJob>& jobs, int number) {
    if (number < 1 || static_cast<std::size_t>(number) > jobs.size()) {
        throw KvalonError(ErrorKind::CommandLine, "--reprint " + std::to_string(number),
                          jobs.empty() ? messages::kHistoryNoJobs
                                       : messages::kHistoryNoSuchJob + std::string("1..") +
                                             std::to_string(jobs.size()));
    }
    return jobs[static_cast<std::size_t>(number) - 1];
}

ProgramOptions reprint_options(const ProgramOptions& given, const KeptJob& kept) {
    if (given.has_words) {
        throw KvalonError(ErrorKind::CommandLine, given.argument_text);
    }
    std::vector<std::string> words = kept.record.options;
    words.push_back("--");
    const ProgramOptions recorded = parse_program_options(words);
    ProgramOptions options = given;
    if (options.language == LanguageChoice::Auto) {
        options.language = recorded.language;
    }
    options.render = options.render || recorded.render;
    options.fit_pages = options.fit_pages || recorded.fit_pages;
    if (!options.code_page) {
        options.code_page = recorded.code_page;
    }
    if (!options.form_length) {
        options.form_length = recorded.form_length;
    }
    if (!options.offset) {
        options.offset = recorded.offset;
    }
    if (!options.paper) {
        options.paper = recorded.paper;
    }
    if (!options.copies) {
        options.copies = recorded.copies;
    }
    if (!options.printer && !options.pdf) {
        options.printer = recorded.printer;
        if (!kept.record.pdf.empty()) {
            options.pdf = kept.record.pdf;
        }
    }
    if (options.document_title.empty() && kept.record.report != messages::kStandardInput) {
        options.document_title = document_title(kept.record.report);
    }
    options.shell_words = {kept.report_path()};
    options.shell_words.insert(options.shell_words.end(), kept.record.words.begin(),
                               kept.record.words.end());
    options.argument_text.clear();
    for (const std::string& word : options.shell_words) {
        options.argument_text += (options.argument_text.empty() ? "" : " ") + word;
    }
    options.has_words = true;
    return options;
}

} // namespace kvalon
