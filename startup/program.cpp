#include "startup/program.h"

#include "engine/error.h"
#include "engine/error_report.h"
#include "engine/exit_status.h"
#include "engine/file_checks.h"
#include "engine/messages.h"
#include "engine/notice.h"
#include "engine/signal_cleanup.h"
#include "printing/cups/printer_selection.h"
#include "printing/qt/paper_sizes.h"
#include "printing/qt/printer_binding.h"
#include "startup/command_line.h"
#include "startup/environment_settings.h"
#include "startup/install_font.h"
#include "startup/queue_setup.h"
#include "startup/report_job.h"
#include "startup/start_sequence.h"
#include "ui/message_box.h"
#include "ui/qt_translation.h"
#include "ui/user_settings.h"
#include "ui/window_loop.h"

#include "build_info.h"

#include <QApplication>
#include <QTranslator>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

namespace kvalon {

namespace {

// A caller may start us with standard input, output or error closed; a file
// we open would then take that number, and a message or a plan meant for the
// caller would be written into it. A closed stream reads and writes nothing.
void keep_standard_streams_open() {
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (::fcntl(fd, F_GETFD) == -1 && errno == EBADF) {
            const int placeholder = ::open("/dev/null", O_RDWR);
            if (placeholder >= 0 && placeholder != fd) {
                ::dup2(placeholder, fd);
                ::close(placeholder);
            }
        }
    }
}

bool is_set(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

// Qt aborts when it finds no display; batch runs from scripts and services
// have none.
void choose_platform() {
    const bool has_display = is_set("DISPLAY") || is_set("WAYLAND_DISPLAY");
    if (!has_display && std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
}

// Windows nobody can see would wait for a click forever. A platform the
// caller chose (a test driving the windows off screen, a VNC session) is its
// own affair.
bool has_desktop() {
    return is_set("DISPLAY") || is_set("WAYLAND_DISPLAY") || is_set("QT_QPA_PLATFORM");
}

// Qt's own diagnostics (a missing runtime folder, font fallbacks) are noise
// for a DOS caller reading our standard error; KVALON_DEBUG brings them back.
void quiet_qt_messages(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtFatalMsg || std::getenv("KVALON_DEBUG") != nullptr) {
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    }
}

// A paper code the PDF printer does not know would silently print on A4.
void refuse_unknown_paper(const ProgramOptions& options, int code) {
    if (!page_size_for_code(code).isValid()) {
        throw KvalonError(ErrorKind::CommandLine, options.paper
                                                      ? "--paper " + std::to_string(code)
                                                      : "KVALON_PAPER=" + std::to_string(code));
    }
}

PrinterRequest printer_request(const ProgramOptions& options) {
    PrinterRequest request;
    if (const char* pdf = std::getenv("KVALON_PDF")) {
        request.pdf_path = pdf;
    }
    request.paper_code = environment_number("KVALON_PAPER", request.paper_code);
    if (options.pdf) {
        request.pdf_path = *options.pdf;
    }
    if (options.printer) {
        request.queue = *options.printer;
        request.pdf_path.clear();
    }
    request.paper_code = options.paper.value_or(request.paper_code);
    request.copies = options.copies.value_or(request.copies);
    request.job_wait_seconds = job_wait_from_environment(request.job_wait_seconds);
    apply_service_wait_from_environment();
    refuse_unknown_paper(options, request.paper_code);
    return request;
}

void write_to_stdout(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

// A printer named for this run wins over the one the windows remember.
bool names_a_printer(const ProgramOptions& options) {
    return options.printer || options.pdf || std::getenv("KVALON_PDF") != nullptr;
}

// The windows, with the report of --open chosen at once.
int run_windows(const ProgramOptions& options, PrinterBinding& binding) {
    std::string open_path;
    if (options.open) {
        open_path = *options.open;
        if (!is_regular_file(open_path)) {
            throw KvalonError(ErrorKind::MissingFile, open_path);
        }
    }
    if (!names_a_printer(options)) {
        if (const auto remembered = remembered_printer()) {
            binding.bind(*remembered);
        }
    }
    return run_menu_window(binding, open_path);
}

int report(const KvalonError& error) {
    show_message(message_for(error));
    return exit_status_for(error);
}

int run_with_application(const ProgramOptions& options, char* program_name) {
    choose_platform();
    qInstallMessageHandler(quiet_qt_messages);
    // Qt reads options of its own from the arguments it is given (-platform,
    // -platformpluginpath, -style...): the words are ours, a report named
    // "-reverse" is a report, so Qt gets only the program's name.
    int qt_argc = 1;
    char* qt_argv[] = {program_name, nullptr};
    QApplication application(qt_argc, qt_argv);
    QApplication::setOrganizationName(QStringLiteral("kvalon-p"));
    QApplication::setApplicationName(QStringLiteral("kvalon-p"));
    QApplication::setApplicationDisplayName(QString::fromStdString(messages::kTitle));
    // Before the first message can appear: Qt's own buttons speak Bulgarian.
    QTranslator translator;
    install_qt_translation(translator);
    set_notice_handler(show_message);
    PrinterBinding binding;
    try {
        const PrinterRequest request = printer_request(options);
        StartHooks hooks;
        hooks.install_font = [] { install_font(); };
        hooks.run_interactive = [&options, &binding] { return run_windows(options, binding); };
        hooks.write_output = write_to_stdout;
        const int status = run_report_job(options, request, hooks, binding);
        set_notice_handler(nullptr);
        return status;
    } catch (const KvalonError& error) {
        const int status = report(error);
        set_notice_handler(nullptr);
        return status;
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
        std::fprintf(stderr, "%s: %s\n", messages::kTitle.c_str(), message_for(error).c_str());
        return exit_status_for(error);
    }
}

} // namespace

int run_program(int argc, char** argv) {
    keep_standard_streams_open();
    install_signal_cleanup();
    ProgramOptions options;
    try {
        options = parse_program_options(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const KvalonError& error) {
        std::fprintf(stderr, "%s: %s\n\n%s", messages::kTitle.c_str(), message_for(error).c_str(),
                     usage_text().c_str());
        return kExitCommandLine;
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
        std::fprintf(stderr, "%s", usage_text().c_str());
        return kExitCommandLine;
    }
    if (!options.has_words && !has_desktop()) {
        std::fprintf(stderr, "%s: %s\n\n%s", messages::kTitle.c_str(),
                     messages::kNeedsDesktop.c_str(), usage_text().c_str());
        return kExitCommandLine;
    }
    try {
        static char our_name[] = "kvalon-p";
        return run_with_application(options, argc > 0 ? argv[0] : our_name);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s: %s%s\n", messages::kTitle.c_str(),
                     messages::kInternalError.c_str(), error.what());
        return kExitInternal;
    }
}

} // namespace kvalon
