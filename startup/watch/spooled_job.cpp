#include "startup/watch/spooled_job.h"

#include "engine/error.h"
#include "engine/messages.h"
#include "engine/private_folder.h"
#include "engine/whole_number.h"
#include "platform/helper_process.h"
#include "platform/own_process.h"
#include "platform/spool_files.h"

#include <chrono>

namespace kvalon {

namespace {

// A job is given time enough for the slowest queue to take it.
constexpr int kLongestJobSeconds = 6 * 3600;
constexpr std::size_t kMostSaid = 64 * 1024;

// The child's first line, without our name in front of it: its message.
std::string message_in(const std::string& said) {
    std::string line = said.substr(0, said.find('\n'));
    const std::string ours = messages::kTitle + ": ";
    if (line.rfind(ours, 0) == 0) {
        line.erase(0, ours.size());
    }
    return line;
}

std::optional<int> told_pages(const std::string& path) {
    std::string text;
    if (!read_small_file(path, text) || text.empty() || text.back() != '\n') {
        return std::nullopt;
    }
    text.pop_back();
    return parse_whole_number(text);
}

} // namespace

std::optional<int> pdf_page_count(const std::string& path) {
    std::string bytes;
    if (!read_small_file(path, bytes)) {
        return std::nullopt;
    }
    const std::string key = "/Type/Pages/Count ";
    const std::size_t at = bytes.rfind(key);
    if (at == std::string::npos) {
        return std::nullopt;
    }
    const std::size_t start = at + key.size();
    const std::size_t end = bytes.find_first_not_of("0123456789", start);
    return parse_whole_number(std::string_view(bytes).substr(start, end - start));
}

SpooledJobResult print_spooled_job(const JobSettings& settings, const std::string& path,
                                   const std::string& pdf_target, int held) {
    const auto started = std::chrono::steady_clock::now();
    HelperCall call;
    call.words.push_back(own_program_path());
    call.words.insert(call.words.end(), settings.job_words.begin(), settings.job_words.end());
    if (!pdf_target.empty()) {
        call.words.push_back("--pdf=" + pdf_target);
    }
    call.words.push_back("--");
    call.words.push_back(path);
    if (held >= 0) {
        call.passed.push_back(held);
    }
    // The run holds the file's claim: a watcher killed outright leaves the
    // job to finish rather than to be printed again by the next watcher.
    call.outlives_us = true;
    const PrivateFolder told;
    const std::string pages_file = told.file("pages");
    call.environment =
        environment_with({"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", kTellPagesVariable},
                         {std::string(kTellPagesVariable) + "=" + pages_file});
    SpooledJobResult result;
    HelperProcess job(call);
    if (job.start_error() != 0) {
        result.reason = messages::kInternalError + system_reason(job.start_error());
        return result;
    }
    std::string said;
    const bool ended = job.read_output(kLongestJobSeconds, kMostSaid, said);
    const int status = exit_status_of(job.wait());
    result.printed = ended && status == 0;
    if (!result.printed) {
        result.reason = message_in(said);
        if (result.reason.empty()) {
            result.reason = messages::kJobEndedWith + std::to_string(status);
        }
    }
    if (result.printed) {
        result.pages = told_pages(pages_file);
    }
    if (result.printed && !result.pages && !pdf_target.empty()) {
        result.pages = pdf_page_count(pdf_target);
    }
    result.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    return result;
}

} // namespace kvalon
