#include "startup/program.h"

#include "engine/error.h"
#include "engine/error_report.h"
#include "engine/exit_status.h"
#include "engine/messages.h"
#include "engine/whole_number.h"
#include "printing/printer_selection.h"
#include "printing/qt/paper_sizes.h"
#include "startup/command_line.h"
#include "startup/install_font.h"
#include "startup/queue_setup.h"
#include "startup/report_job.h"
#include "startup/start_sequence.h"
#include "ui/menu_window.h"
#include "ui/message_box.h"

#include "build_info.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <optional>
#include <string>
#include <vector>

namespace kvalon {

namespace {

// Qt aborts when it finds no display; batch runs from scripts and services
// have none.
void choose_platform() {
    const bool has_display =
        std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr;
    if (!has_display && std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
}

// Qt's own diagnostics (a missing runtime folder, font fallbacks) are noise
// for a DOS caller reading our standard error; KVALON_DEBUG brings them back.
void quiet_qt_messages(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtFatalMsg || std::getenv("KVALON_DEBUG") != nullptr) {
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    }
}

int environment_number(const char* name, int fallback) {
    const char* text = std::getenv(name);
    if (text == nullptr || *text == '\0') {
        return fallback;
    }
    const std::optional<int> value = parse_whole_number(text);
    if (!value) {
        throw KvalonError(ErrorKind::CommandLine, std::string(name) + "=" + text);
    }
    return *value;
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
    refuse_unknown_paper(options, request.paper_code);
    return request;
}

void write_to_stdout(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

int report(const KvalonError& error) {
    show_message(message_for(error));
    return exit_status_for(error);
}

int run_with_application(const ProgramOptions& options, int& argc, char** argv) {
    choose_platform();
    qInstallMessageHandler(quiet_qt_messages);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kvalon-p"));
    QApplication::setApplicationDisplayName(QString::fromStdString(messages::kTitle));
    try {
        const PrinterRequest request = printer_request(options);
        StartHooks hooks;
        hooks.install_font = [] { install_font(); };
        hooks.run_interactive = [] { return run_menu_window(); };
        hooks.write_output = write_to_stdout;
        return run_report_job(options, request, hooks);
    } catch (const KvalonError& error) {
        return report(error);
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
        write_to_stdout(command.action == QueueCommand::Action::Setup
                            ? set_up_queue(command.name, command.destination)
                            : remove_queue(command.name));
        return kExitOk;
    } catch (const KvalonError& error) {
        std::fprintf(stderr, "%s: %s\n", messages::kTitle.c_str(), message_for(error).c_str());
        return exit_status_for(error);
    }
}

} // namespace

int run_program(int argc, char** argv) {
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
    try {
        return run_with_application(options, argc, argv);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s: %s%s\n", messages::kTitle.c_str(),
                     messages::kInternalError.c_str(), error.what());
        return kExitInternal;
    }
}

} // namespace kvalon
