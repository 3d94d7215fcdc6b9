#include "backend/backend_program.h"

#include "backend/backend_job.h"
#include "backend/backend_status.h"
#include "backend/client_options.h"
#include "engine/error.h"
#include "engine/error_report.h"
#include "engine/messages.h"
#include "engine/notice.h"
#include "engine/print_job.h"
#include "platform/signal_cleanup.h"
#include "printing/cups/destination_info.h"
#include "printing/cups/queue_list.h"
#include "printing/printer_binding.h"
#include "startup/command_line.h"
#include "startup/environment_settings.h"
#include "startup/install_font.h"
#include "startup/queue_address.h"
#include "startup/report_job.h"

#include <cups/backend.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fcntl.h>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

namespace kvalon {

namespace {

// One line of the backend protocol: CUPS reads the prefix, shows INFO and
// ERROR text beside the job and logs the rest. A message may carry the job's
// title, which the sender chose: a line break in it would start a line of
// the protocol of its own, so every control character reads as a blank.
void tell(const char* prefix, std::string text) {
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
            c = ' ';
        }
    }
    std::fprintf(stderr, "%s: %s\n", prefix, text.c_str());
    std::fflush(stderr);
}

// The environment the shared print path reads, set before anything reads it.
void prepare_environment(const BackendJob& job) {
    // The job on the destination belongs to whoever sent the report.
    if (!job.user.empty()) {
        setenv("CUPS_USER", job.user.c_str(), 1);
    }
    const char* language = job.language == LanguageChoice::Epson  ? "1"
                           : job.language == LanguageChoice::Text ? "0"
                                                                  : "auto";
    setenv("KVALON_ESCP", language, 1);
    if (!job.form_length.empty()) {
        setenv("KVALON_FORM_LENGTH", job.form_length.c_str(), 1);
    }
    if (!job.offset.empty()) {
        setenv("KVALON_OFFSET", job.offset.c_str(), 1);
    }
}

std::string left_out_text(const LeftOutOption& left, const std::string& destination) {
    std::string text = messages::kOptionNotPassed + left.option.name + "=" + left.option.value +
                       messages::kOptionNotPassedTo + destination;
    switch (left.reason) {
    case LeftOutOption::Reason::DecidedHere:
        return text + messages::kOptionDecidedHere;
    case LeftOutOption::Reason::DescribesJob:
        return text + messages::kOptionDescribesJob;
    case LeftOutOption::Reason::UnknownThere:
        return text + messages::kOptionUnknownThere;
    case LeftOutOption::Reason::UnsupportedValue:
        return text + messages::kOptionValueNotTaken + left.supported +
               messages::kOptionValueNotTakenEnd;
    }
    return text;
}

// A client's wish the destination cannot carry out is worth a warning in the
// job's log; the server's own record of the job is not.
const char* log_level_of(LeftOutOption::Reason reason) {
    switch (reason) {
    case LeftOutOption::Reason::DecidedHere:
        return "INFO";
    case LeftOutOption::Reason::DescribesJob:
        return "DEBUG";
    case LeftOutOption::Reason::UnknownThere:
    case LeftOutOption::Reason::UnsupportedValue:
        break;
    }
    return "WARNING";
}

// The client's options the destination job carries; the job's log says which
// stay behind and why.
JobOptions passed_options(const BackendJob& job, const DestinationInfo& destination) {
    const ClientOptions sorted = sort_client_options(destination, job.options);
    for (const LeftOutOption& left : sorted.left_out) {
        tell(log_level_of(left.reason), left_out_text(left, job.destination));
    }
    return sorted.passed;
}

// The report as the command line names it. A path the command line would cut
// at a blank or comma is handed over as standard input instead.
std::string report_argument(const BackendJob& job) {
    if (job.file.empty()) {
        return "-";
    }
    if (job.file.find_first_of(" ,") == std::string::npos && job.file.front() != '-') {
        return job.file;
    }
    const int input = ::open(job.file.c_str(), O_RDONLY | O_CLOEXEC);
    if (input < 0 || ::dup2(input, STDIN_FILENO) < 0) {
        throw KvalonError(ErrorKind::File, job.file, system_reason(errno));
    }
    ::close(input);
    return "-";
}

// A failure that names the report names it as the sender knows it: by the
// job's title, not by the print service's spool file.
KvalonError named_after_job(const KvalonError& error, const BackendJob& backend_job) {
    const std::string& report = job().SourcePath;
    const bool names_report = !report.empty() && error.path() == report;
    if (!names_report && error.path() != messages::kStandardInput) {
        return error;
    }
    return KvalonError(error.kind(), backend_job.title, error.detail());
}

int print_job(const BackendJob& backend_job) {
    ProgramOptions options;
    options.argument_text = report_argument(backend_job);
    options.document_title = backend_job.title;
    options.code_page = backend_job.code_page;
    options.fit_pages = backend_job.fit_pages;
    options.render = backend_job.render;
    QueueSettings queue;
    queue.queue = backend_job.destination;
    queue.media = backend_job.media;
    queue.job_wait_seconds = job_wait_from_environment(queue.job_wait_seconds);
    queue.signal_cancels_followed_job = true;
    apply_service_wait_from_environment();
    StartHooks hooks;
    hooks.install_font = [] { check_delivered_font(); };
    hooks.run_interactive = []() -> int {
        throw std::logic_error("the backend always names a report");
    };
    hooks.write_output = [](const std::string&) {};
    tell("INFO", messages::kBackendPrinting + backend_job.destination);
    // Read once: the job sent there needs the same description.
    queue.description = std::make_shared<const DestinationInfo>(backend_job.destination);
    queue.job_options = passed_options(backend_job, *queue.description);
    PrinterBinding binding;
    try {
        run_report_job(
            options, [&queue, &backend_job] { return choose_queue(queue, backend_job.copies); },
            hooks, binding);
    } catch (const KvalonError& error) {
        // Blank pages were handed over all the same: the job is done, and the
        // queue shows why it looks wrong.
        if (error.kind() != ErrorKind::BlankPages) {
            throw;
        }
        tell("WARNING", message_for(named_after_job(error, backend_job)));
    }
    if (job().Document != DocumentKind::Text) {
        tell("INFO", messages::kBackendDocumentHandedOver + backend_job.destination);
        return CUPS_BACKEND_OK;
    }
    const int pages = job().PageNumber;
    tell("PAGE", "total " + std::to_string(pages * backend_job.copies));
    tell("INFO", messages::kBackendHandedOver + backend_job.destination + ": " +
                     std::to_string(pages) + messages::kBackendPages);
    return CUPS_BACKEND_OK;
}

int run_job(const BackendJob& backend_job) {
    prepare_environment(backend_job);
    // A warning stays in the job's state message when the job has ended
    // (the print server clears an INFO text then): a report handed over but
    // not yet printed is told where the sender looks.
    const NoticeScope notices([](const std::string& text) { tell("WARNING", text); });
    try {
        return print_job(backend_job);
    } catch (const KvalonError& error) {
        tell("ERROR", message_for(named_after_job(error, backend_job)));
        return backend_status_for(error);
    } catch (const std::exception& error) {
        tell("ERROR", messages::kInternalError + error.what());
        return CUPS_BACKEND_FAILED;
    }
}

} // namespace

int run_backend(int argc, char** argv) {
    // As CUPS's own backends: the print server ends a cancelled job with
    // SIGTERM (our temporaries go, the destination job is cancelled, see
    // platform/signal_cleanup.h), and a closed connection is an error to tell,
    // not a silent death.
    install_signal_cleanup();
    ::signal(SIGPIPE, SIG_IGN);
    if (argc == 1) {
        std::printf("direct %s \"Unknown\" \"%s\"\n", kBackendScheme,
                    messages::kBackendDeviceInfo.c_str());
        return CUPS_BACKEND_OK;
    }
    if (argc != 6 && argc != 7) {
        std::fputs(messages::kBackendUsage.c_str(), stderr);
        return CUPS_BACKEND_FAILED;
    }
    const char* device_uri = std::getenv("DEVICE_URI");
    BackendJob backend_job;
    try {
        backend_job = parse_backend_job(std::vector<std::string>(argv + 1, argv + argc),
                                        device_uri != nullptr ? device_uri : argv[0]);
    } catch (const KvalonError& error) {
        tell("ERROR", message_for(error));
        return backend_status_for(error);
    }
    return run_job(backend_job);
}

} // namespace kvalon
