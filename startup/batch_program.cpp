#include "startup/batch_program.h"

#include "engine/error.h"
#include "engine/error_report.h"
#include "engine/exit_status.h"
#include "engine/messages.h"
#include "engine/notice.h"
#include "engine/signal_cleanup.h"
#include "printing/choice/printer_choice.h"
#include "printing/printer_binding.h"
#include "startup/command_line.h"
#include "startup/desktop_launch.h"
#include "startup/desktop_presence.h"
#include "startup/install_font.h"
#include "startup/printer_request.h"
#include "startup/queue_setup.h"
#include "startup/report_job.h"
#include "startup/standard_streams.h"
#include "startup/start_sequence.h"

#include "build_info.h"

#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

namespace kvalon {

namespace {

void to_stderr(const std::string& text) {
    std::fprintf(stderr, "%s: %s\n", messages::kTitle.c_str(), text.c_str());
    std::fflush(stderr);
}

// On a desktop a DOS caller's user reads the program's messages in a box,
// as from the windows; without one, or when no box can be shown, on
// standard error.
void tell_batch_user(const std::string& text) {
    if (shows_message_boxes() && show_in_message_box(text)) {
        return;
    }
    to_stderr(text);
}

int run_report(const ProgramOptions& options) {
    set_notice_handler(tell_batch_user);
    PrinterBinding binding;
    try {
        const PrinterRequest request = printer_request(options);
        StartHooks hooks;
        hooks.install_font = [] { install_font(); };
        hooks.run_interactive = []() -> int {
            throw std::logic_error("a report is always named here");
        };
        hooks.write_output = write_to_stdout;
        const int status = run_report_job(
            options, [&request] { return choose_printer(request); }, hooks, binding);
        set_notice_handler(nullptr);
        return status;
    } catch (const KvalonError& error) {
        tell_user(message_for(error));
        set_notice_handler(nullptr);
        return exit_status_for(error);
    }
}

// Setting up or removing the print-server queue needs neither a display nor
// a report.
int run_queue_command(const ProgramOptions& options) {
    try {
        if (!options.argument_text.empty()) {
            throw KvalonError(ErrorKind::CommandLine, options.argument_text);
        }
        const QueueCommand& command = *options.queue_command;
        const bool setup = command.action == QueueCommand::Action::Setup;
        if (!setup && options.code_page) {
            throw KvalonError(ErrorKind::CommandLine, "--code-page");
        }
        write_to_stdout(setup ? set_up_queue(command.name, command.destination, options.code_page)
                              : remove_queue(command.name));
        return kExitOk;
    } catch (const KvalonError& error) {
        to_stderr(message_for(error));
        return exit_status_for(error);
    }
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
    std::fprintf(stderr, "%s: %s\n\n%s", messages::kTitle.c_str(), text.c_str(),
                 usage_text().c_str());
    show_start_up_error(text);
    return kExitCommandLine;
}

} // namespace

int run_program(int argc, char** argv) {
    keep_standard_streams_open();
    install_signal_cleanup();
    ProgramOptions options;
    try {
        options = parse_program_options(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const KvalonError& error) {
        return usage_failure(message_for(error));
    }
    if (options.help) {
        write_to_stdout(usage_text());
        return kExitOk;
    }
    if (options.version) {
        write_to_stdout(std::string("kvalon-p ") + build_info::version_text + "\n");
        return kExitOk;
    }
    if (options.queue_command) {
        return run_queue_command(options);
    }
    if (options.plan && options.argument_text.empty()) {
        // A plan needs a report to plan.
        return usage_failure(message_for(KvalonError(ErrorKind::CommandLine, "--plan")));
    }
    if (!options.has_words) {
        return has_desktop() ? start_windows(argv) : usage_failure(messages::kNeedsDesktop);
    }
    try {
        return run_report(options);
    } catch (const std::exception& error) {
        const std::string text = messages::kInternalError + error.what();
        to_stderr(text);
        show_start_up_error(text);
        return kExitInternal;
    }
}

} // namespace kvalon
