#include "startup/batch_program.h"

#include "engine/error.h"
#include "engine/error_line.h"
#include "engine/error_report.h"
#include "engine/exit_status.h"
#include "engine/messages.h"
#include "engine/notice.h"
#include "engine/print_job.h"
#include "platform/signal_cleanup.h"
#include "printing/choice/printer_choice.h"
#include "printing/printer_binding.h"
#include "startup/command_line.h"
#include "startup/desktop_launch.h"
#include "startup/desktop_presence.h"
#include "startup/history_commands.h"
#include "startup/install_font.h"
#include "startup/job_keeping.h"
#include "startup/printer_request.h"
#include "startup/queue_setup.h"
#include "startup/report_job.h"
#include "startup/spool_run.h"
#include "startup/standard_streams.h"
#include "startup/start_sequence.h"

#include "build_info.h"

#include <ctime>
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

namespace kvalon {

namespace {

// How far the program got decides how a failure is told: an unusable
// command line with the usage after it, a queue command's failure on
// standard error for the administrator's terminal, a report's where the
// report's notes go.
enum class Stage { CommandLine, QueueCommand, Report };

// On a desktop a DOS caller's user reads the program's messages in a box,
// as from the windows; without one, or when no box can be shown, on
// standard error.
void tell_batch_user(const std::string& text) {
    if (shows_message_boxes() && show_in_message_box(text)) {
        return;
    }
    write_error_line(text);
}

// Started from a desktop (its applications menu, a file manager), nobody
// reads standard error: a failure before anything could show it is shown in
// a message box as well.
void show_start_up_error(const std::string& text) {
    if (shows_message_boxes()) {
        show_in_message_box(text);
    }
}

int usage_failure(const std::string& text) {
    write_error_line(text, "\n" + usage_text());
    show_start_up_error(text);
    return kExitCommandLine;
}

int run_report(const ProgramOptions& options) {
    const NoticeScope notices(tell_batch_user);
    PrinterBinding binding;
    const PrinterRequest request = printer_request(options);
    StartHooks hooks;
    hooks.install_font = [] { install_font(); };
    hooks.run_interactive = []() -> int {
        throw std::logic_error("a report is always named here");
    };
    hooks.write_output = write_to_stdout;
    JobKeeping keeping(options, request.pdf_path, std::time(nullptr));
    bool printing = false;
    hooks.print_starts = [&keeping, &printing] {
        printing = true;
        keeping.print_starts(job());
    };
    try {
        const int status = run_report_job(
            options, [&request] { return choose_printer(request); }, hooks, binding);
        if (printing) {
            keeping.job_printed(job());
        }
        if (job().Document == DocumentKind::Text) {
            tell_watcher_pages(job().PageNumber);
        }
        return status;
    } catch (const KvalonError& error) {
        if (printing) {
            keeping.job_failed(message_for(error));
        }
        throw;
    }
}

JobHistory user_history() {
    std::vector<std::string> warnings;
    HistorySettings settings = history_settings_from_environment(warnings);
    for (const std::string& line : warnings) {
        write_error_line(line);
    }
    if (settings.folder.empty()) {
        throw KvalonError(ErrorKind::CommandLine, "--history", messages::kHistoryNoFolder);
    }
    return JobHistory(std::move(settings));
}

int run_history_listing(const ProgramOptions& options) {
    if (options.has_words) {
        throw KvalonError(ErrorKind::CommandLine, options.argument_text);
    }
    const JobHistory history = user_history();
    if (!history.settings().enabled()) {
        write_to_stdout(messages::kHistoryOff + "\n");
        return kExitOk;
    }
    const std::vector<KeptJob> jobs = history.list();
    write_to_stdout(jobs.empty() ? messages::kHistoryEmpty + "\n" : history_listing(jobs));
    return kExitOk;
}

// The kept job's numbering is the listing's: newest first.
int run_reprint(const ProgramOptions& options, Stage& stage) {
    const JobHistory history = user_history();
    stage = Stage::QueueCommand;
    if (!history.settings().enabled()) {
        throw KvalonError(ErrorKind::CommandLine, "--reprint " + std::to_string(*options.reprint),
                          messages::kHistoryOff);
    }
    const std::vector<KeptJob> jobs = history.list();
    const KeptJob& kept = job_to_reprint(jobs, *options.reprint);
    const ProgramOptions again = reprint_options(options, kept);
    stage = Stage::Report;
    return run_report(again);
}

// A queue being removed keeps no defaults.
void refuse_queue_defaults(const QueueDefaults& defaults) {
    const char* option = defaults.code_page                           ? "--code-page"
                         : defaults.language == LanguageChoice::Epson ? "--escp"
                         : defaults.language == LanguageChoice::Text  ? "--text"
                         : defaults.language == LanguageChoice::Pcl   ? "--pcl"
                         : !defaults.form_length.empty()              ? "--form-length"
                         : defaults.offset                            ? "--offset"
                                                                      : nullptr;
    if (option != nullptr) {
        throw KvalonError(ErrorKind::CommandLine, option);
    }
}

// Setting up or removing the print-server queue needs neither a display nor
// a report.
int run_queue_command(const ProgramOptions& options) {
    if (!options.argument_text.empty()) {
        throw KvalonError(ErrorKind::CommandLine, options.argument_text);
    }
    const QueueCommand& command = *options.queue_command;
    const bool setup = command.action == QueueCommand::Action::Setup;
    QueueDefaults defaults{options.code_page, options.language, options.form_length_text,
                           options.offset};
    if (!setup) {
        refuse_queue_defaults(defaults);
    }
    write_to_stdout(setup ? set_up_queue(command.name, command.destination, defaults)
                          : remove_queue(command.name));
    return kExitOk;
}

// A watch or a port runs until an ending signal. What cannot start is the
// command line's fault (a folder that is none, a port that cannot open);
// what fails later is told on standard error, for the service's journal.
int run_spool(const ProgramOptions& options, Stage& stage) {
    for (const bool refused : {options.has_words, options.plan, options.open.has_value(),
                               options.queue_command.has_value()}) {
        if (refused) {
            throw KvalonError(ErrorKind::CommandLine, options.watch
                                                          ? "--watch " + options.watch->folder
                                                          : "--listen " + options.listen->source);
        }
    }
    return run_spool_source(options, [&stage] { stage = Stage::QueueCommand; });
}

int run_words(int argc, char** argv, Stage& stage) {
    keep_standard_streams_open();
    install_signal_cleanup();
    const ProgramOptions options =
        parse_program_options(std::vector<std::string>(argv + 1, argv + argc));
    if (options.help) {
        write_to_stdout(usage_text());
        return kExitOk;
    }
    if (options.version) {
        write_to_stdout(std::string("kvalon-p ") + build_info::version_text + "\n");
        return kExitOk;
    }
    if (options.watch || options.listen) {
        return run_spool(options, stage);
    }
    if (options.history) {
        return run_history_listing(options);
    }
    if (options.reprint) {
        return run_reprint(options, stage);
    }
    if (options.queue_command) {
        stage = Stage::QueueCommand;
        return run_queue_command(options);
    }
    if (options.plan && options.argument_text.empty()) {
        // A plan needs a report to plan.
        throw KvalonError(ErrorKind::CommandLine, "--plan");
    }
    if (!options.has_words) {
        return has_desktop() ? start_windows(argv) : usage_failure(messages::kNeedsDesktop);
    }
    stage = Stage::Report;
    return run_report(options);
}

int told_failure(Stage stage, const KvalonError& error) {
    const std::string text = message_for(error);
    switch (stage) {
    case Stage::CommandLine:
        return usage_failure(text);
    case Stage::QueueCommand:
        write_error_line(text);
        break;
    case Stage::Report:
        tell_batch_user(text);
        break;
    }
    return exit_status_for(error);
}

int told_fault(const std::string& what) {
    const std::string text = messages::kInternalError + what;
    write_error_line(text);
    show_start_up_error(text);
    return kExitInternal;
}

} // namespace

int run_program(int argc, char** argv) {
    Stage stage = Stage::CommandLine;
    try {
        return run_words(argc, argv, stage);
    } catch (const KvalonError& error) {
        return told_failure(stage, error);
    } catch (const std::exception& error) {
        return told_fault(error.what());
    } catch (...) {
        return told_fault(messages::kUnknownFault);
    }
}

} // namespace kvalon
