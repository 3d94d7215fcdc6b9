#include "startup/job_keeping.h"

#include "engine/error.h"
#include "engine/error_line.h"
#include "engine/error_report.h"
#include "engine/messages.h"
#include "engine/print_job.h"
#include "platform/path_text.h"
#include "startup/stdin_report.h"
#include "startup/watch/watch_settings.h"

#include <exception>
#include <filesystem>
#include <vector>

namespace kvalon {

namespace {

std::optional<int> pages_of(const PrintJob& j) {
    if (j.PageNumber > 0) {
        return j.PageNumber;
    }
    if (j.PageCount > 0) {
        return static_cast<int>(j.PageCount);
    }
    return std::nullopt;
}

// A watched folder's job prints from the watcher's claimed files: the user
// knows it by its place in the folder watched.
std::string report_as_known(const std::string& source) {
    const std::filesystem::path path = path_of(source);
    if (text_of(path.parent_path().filename()) == kClaimFolder) {
        return text_of(path.parent_path().parent_path() / path.filename());
    }
    return source;
}

std::string absolute_path(const std::string& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path_of(path), error);
    return error ? path : text_of(absolute.lexically_normal());
}

} // namespace

JobKeeping::JobKeeping(const ProgramOptions& options, const std::string& pdf_path,
                       std::time_t now) {
    if (options.reprint) {
        return;
    }
    std::vector<std::string> warnings;
    HistorySettings settings = history_settings_from_environment(warnings);
    // An unusable setting is told once: the job is kept all the same.
    if (!warnings.empty()) {
        write_error_line(warnings.front());
    }
    if (settings.enabled()) {
        m_history.emplace(std::move(settings));
    }
    m_record.time = static_cast<std::int64_t>(now);
    m_record.printer = options.printer.value_or("");
    m_record.pdf = pdf_path.empty() ? "" : absolute_path(pdf_path);
    m_record.options = options.job_words;
    m_record.report = names_standard_input(options.argument_text) ? messages::kStandardInput : "";
}

void JobKeeping::warn(const std::string& text) {
    if (!m_warned) {
        m_warned = true;
        write_error_line(messages::kHistoryNotKept + text);
    }
}

void JobKeeping::print_starts(const PrintJob& j) {
    if (!m_history) {
        return;
    }
    if (m_record.report.empty()) {
        m_record.report = report_as_known(j.SourcePath);
    }
    for (std::size_t at = 1; at < j.ParamList.size() && at < 3; ++at) {
        m_record.words.push_back(j.ParamList[at]);
    }
    m_record.pages = pages_of(j);
    try {
        m_folder = m_history->keep(j.SourcePath, m_record);
    } catch (const KvalonError& error) {
        warn(message_for(error));
    } catch (const std::exception& error) {
        warn(error.what());
    }
}

void JobKeeping::write_outcome() {
    if (!m_history || m_folder.empty()) {
        return;
    }
    try {
        m_history->update(m_folder, m_record);
    } catch (const KvalonError& error) {
        warn(message_for(error));
    } catch (const std::exception& error) {
        warn(error.what());
    }
}

void JobKeeping::job_printed(const PrintJob& j) {
    m_record.pages = pages_of(j);
    m_record.outcome = JobRecord::Outcome::Printed;
    write_outcome();
}

void JobKeeping::job_failed(const std::string& reason) {
    m_record.outcome = JobRecord::Outcome::Failed;
    m_record.reason = reason;
    write_outcome();
}

} // namespace kvalon
