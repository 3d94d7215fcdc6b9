#include "startup/history_commands.h"

#include "engine/error.h"
#include "engine/history/kept_job_columns.h"
#include "engine/messages.h"
#include "printing/print_page.h"

#include <cstdio>

namespace kvalon {

std::string history_listing(const std::vector<KeptJob>& jobs) {
    std::string text;
    int number = 0;
    for (const KeptJob& kept : jobs) {
        const KeptJobColumns shown = kept_job_columns(kept.record);
        char lead[24];
        std::snprintf(lead, sizeof lead, "%3d  ", ++number);
        text += lead + shown.time + "  " + shown.report + "  " + shown.pages + messages::kJobPages +
                "  " + shown.printer + "  " + shown.outcome + "\n";
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
