#include "startup/stdin_report.h"

#include "engine/atomic_file.h"
#include "engine/error.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace kvalon {

namespace {

constexpr std::array<int, 3> kEndingSignals = {SIGHUP, SIGINT, SIGTERM};

// What the signal handler removes; written before the handlers go in and
// cleared after they are out, so the handler never sees half a path.
char g_removal_path[4096];
std::array<struct sigaction, kEndingSignals.size()> g_previous_actions;
std::array<bool, kEndingSignals.size()> g_handler_installed;

extern "C" void remove_copy_and_end(int signal_number) {
    ::unlink(g_removal_path);
    struct sigaction default_action {};
    default_action.sa_handler = SIG_DFL;
    ::sigaction(signal_number, &default_action, nullptr);
    // Blocked until the handler returns; then the default action ends the
    // program with the status the caller expects of this signal.
    ::raise(signal_number);
}

void install_removal_handlers(const std::string& path) {
    if (path.size() >= sizeof g_removal_path) {
        return;
    }
    std::memcpy(g_removal_path, path.c_str(), path.size() + 1);
    for (std::size_t i = 0; i < kEndingSignals.size(); ++i) {
        struct sigaction current {};
        ::sigaction(kEndingSignals[i], nullptr, &current);
        // A caller that ignores a signal (a shell's background job ignores
        // SIGINT) expects us to survive it.
        g_handler_installed[i] = current.sa_handler != SIG_IGN;
        if (g_handler_installed[i]) {
            struct sigaction removal {};
            removal.sa_handler = remove_copy_and_end;
            sigemptyset(&removal.sa_mask);
            ::sigaction(kEndingSignals[i], &removal, &g_previous_actions[i]);
        }
    }
}

void remove_removal_handlers() {
    for (std::size_t i = 0; i < kEndingSignals.size(); ++i) {
        if (g_handler_installed[i]) {
            ::sigaction(kEndingSignals[i], &g_previous_actions[i], nullptr);
            g_handler_installed[i] = false;
        }
    }
    g_removal_path[0] = '\0';
}

void copy_to_end(int input, TemporaryFile& output) {
    std::array<char, 65536> buffer;
    for (;;) {
        const ssize_t got = ::read(input, buffer.data(), buffer.size());
        if (got == 0) {
            return;
        }
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw KvalonError(ErrorKind::File, "-", system_reason(errno));
        }
        output.write_all(std::string_view(buffer.data(), static_cast<std::size_t>(got)));
    }
}

bool usable_on_command_line(const std::string& folder) {
    std::error_code error;
    return !folder.empty() && folder.front() == '/' &&
           folder.find_first_of(" ,") == std::string::npos &&
           std::filesystem::is_directory(folder, error);
}

} // namespace

StdinReport::StdinReport(int input, const std::string& folder)
    : m_copy(std::make_unique<TemporaryFile>(folder, "kvalon-p-", folder + "/kvalon-p-XXXXXX")) {
    m_path = m_copy->path();
    install_removal_handlers(m_path);
    try {
        copy_to_end(input, *m_copy);
        m_copy->close();
    } catch (...) {
        discard();
        throw;
    }
}

void StdinReport::discard() {
    m_copy.reset();
    m_path.clear();
    remove_removal_handlers();
}

StdinReport::~StdinReport() {
    discard();
}

bool names_standard_input(const std::string& argument_text) {
    return !argument_text.empty() && argument_text.front() == '-' &&
           (argument_text.size() == 1 || argument_text[1] == ' ' || argument_text[1] == ',');
}

std::string temporary_folder() {
    const char* configured = std::getenv("TMPDIR");
    if (configured != nullptr && usable_on_command_line(configured)) {
        return configured;
    }
    return "/tmp";
}

void take_standard_input(ProgramOptions& options, std::optional<StdinReport>& report) {
    if (!names_standard_input(options.argument_text)) {
        return;
    }
    report.emplace(STDIN_FILENO, temporary_folder());
    options.argument_text.replace(0, 1, report->path());
    options.answer_folder = ".";
}

} // namespace kvalon
