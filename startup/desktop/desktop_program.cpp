#include "startup/desktop/desktop_program.h"

#include "engine/error.h"
#include "engine/error_line.h"
#include "engine/error_report.h"
#include "engine/exit_status.h"
#include "engine/file_checks.h"
#include "engine/messages.h"
#include "engine/notice.h"
#include "engine/signal_cleanup.h"
#include "printing/choice/printer_choice.h"
#include "printing/printer_binding.h"
#include "startup/command_line.h"
#include "startup/desktop/window_font.h"
#include "startup/desktop_launch.h"
#include "startup/desktop_presence.h"
#include "startup/printer_request.h"
#include "startup/report_job.h"
#include "startup/standard_streams.h"
#include "startup/start_sequence.h"
#include "ui/qt/message_box.h"
#include "ui/qt/qt_settings_store.h"
#include "ui/qt/qt_translation.h"
#include "ui/qt/window_loop.h"
#include "ui/user_settings.h"

#include <QApplication>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

namespace kvalon {

namespace {

// The status of a message box that nobody could see: the batch program that
// asked for it then writes the message to standard error itself.
constexpr int kNoBoxShown = 3;

bool is_set(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

// Qt aborts when it finds no display; batch runs from scripts and services
// have none.
void choose_platform() {
    if (!has_desktop()) {
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

// The windows, with the report of --open chosen at once.
int run_windows(const ProgramOptions& options, PrinterBinding& binding) {
    // --open without a file is the desktop's menu entry: the windows, no report.
    const std::string open_path = options.open.value_or(std::string());
    if (!open_path.empty() && !is_regular_file(open_path)) {
        throw KvalonError(ErrorKind::MissingFile, open_path);
    }
    if (!names_a_printer(options)) {
        if (std::shared_ptr<const Destination> remembered =
                UserSettings(qt_settings_store()).printer()) {
            binding.bind(std::move(remembered));
        }
    }
    return run_menu_window(binding, open_path);
}

int report(const KvalonError& error) {
    show_message(message_for(error));
    return exit_status_for(error);
}

// The platform chosen and Qt's diagnostics quieted: both must come before
// the application object.
int& prepared_for_qt(int& argc) {
    choose_platform();
    qInstallMessageHandler(quiet_qt_messages);
    return argc;
}

// Qt's application as every start of ours needs it. Qt reads options of its
// own from the arguments it is given (-platform, -platformpluginpath,
// -style...): the words are ours, a report named "-reverse" is a report, so
// Qt gets only the program's name. Before the first message can appear: the
// program's names, and Qt's own buttons in Bulgarian.
class OurApplication {
public:
    explicit OurApplication(char* program_name)
        : m_argv{program_name, nullptr}, m_application(prepared_for_qt(m_argc), m_argv) {
        QApplication::setOrganizationName(QStringLiteral("kvalon-p"));
        QApplication::setApplicationName(QStringLiteral("kvalon-p"));
        QApplication::setApplicationDisplayName(QString::fromStdString(messages::kTitle));
        install_qt_translation(m_translator);
    }
    OurApplication(const OurApplication&) = delete;
    OurApplication& operator=(const OurApplication&) = delete;

private:
    int m_argc = 1;
    char* m_argv[2];
    QApplication m_application;
    QTranslator m_translator;
};

int run_with_application(const ProgramOptions& options, char* program_name) {
    const OurApplication application(program_name);
    const NoticeScope notices(show_message_from_any_thread);
    PrinterBinding binding;
    try {
        const PrinterRequest request = printer_request(options);
        StartHooks hooks;
        hooks.install_font = [] { install_window_font(); };
        hooks.run_interactive = [&options, &binding] { return run_windows(options, binding); };
        hooks.write_output = write_to_stdout;
        return run_report_job(
            options, [&request] { return choose_printer(request); }, hooks, binding);
    } catch (const KvalonError& error) {
        return report(error);
    }
}

// One message box for the batch program, which has no windows of its own.
int show_one_message(const std::string& text, char* program_name) {
    const OurApplication application(program_name);
    if (is_headless()) {
        return kNoBoxShown;
    }
    show_message(text);
    return kExitOk;
}

// Started from a desktop (its applications menu, a file manager), nobody
// reads standard error: a failure before the windows could show it is shown
// in a message box as well.
void show_start_up_error(const std::string& text, char* program_name) {
    if (!is_set("DISPLAY") && !is_set("WAYLAND_DISPLAY")) {
        return;
    }
    if (QApplication::instance() != nullptr) {
        show_message(text);
        return;
    }
    const OurApplication application(program_name);
    show_message(text);
}

} // namespace

int run_desktop_program(int argc, char** argv) {
    keep_standard_streams_open();
    install_signal_cleanup();
    static char our_name[] = "kvalon-p";
    char* program_name = argc > 0 ? argv[0] : our_name;
    if (argc == 3 && argv[1] == kMessageWord) {
        return show_one_message(argv[2], program_name);
    }
    ProgramOptions options;
    try {
        options = parse_program_options(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const KvalonError& error) {
        write_error_line(message_for(error), "\n" + usage_text());
        show_start_up_error(message_for(error), program_name);
        return kExitCommandLine;
    }
    if (!options.has_words && !has_desktop()) {
        write_error_line(messages::kNeedsDesktop, "\n" + usage_text());
        return kExitCommandLine;
    }
    try {
        return run_with_application(options, program_name);
    } catch (const std::exception& error) {
        const std::string text = messages::kInternalError + error.what();
        write_error_line(text);
        show_start_up_error(text, program_name);
        return kExitInternal;
    }
}

} // namespace kvalon
