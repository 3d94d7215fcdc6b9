#include "ui/qt/window_loop.h"

#include "engine/exit_status.h"
#include "engine/signal_cleanup.h"
#include "ui/print_session.h"
#include "ui/qt/menu_window.h"
#include "ui/qt/window_icon.h"

#include <QApplication>
#include <QSocketNotifier>

#include <cstdlib>
#include <memory>
#include <utility>

namespace kvalon {

namespace {
std::function<void(Form_menu&)>& menu_window_seam() {
    static std::function<void(Form_menu&)> seam;
    return seam;
}
} // namespace

void set_menu_window_seam(std::function<void(Form_menu&)> seam) {
    menu_window_seam() = std::move(seam);
}

namespace {

// The session of the windows running, for an end that unwinds nothing: Qt
// ends the program with exit() when the display goes away under it (the
// session's end without a session manager).
PrintSession* g_running_session = nullptr;

void write_documents_at_exit() {
    if (g_running_session != nullptr) {
        std::exchange(g_running_session, nullptr)->end_document();
    }
}

class RunningSession {
public:
    explicit RunningSession(PrintSession& session) {
        [[maybe_unused]] static const bool registered = std::atexit(write_documents_at_exit) == 0;
        g_running_session = &session;
    }
    ~RunningSession() { g_running_session = nullptr; }
    RunningSession(const RunningSession&) = delete;
    RunningSession& operator=(const RunningSession&) = delete;
};

// Runs the windows until the last one closes, or until an ending signal
// closes them all; that signal, or 0.
int run_until_closed(PrinterBinding& binding, const std::string& open_path,
                     EndingSignalHandOver& hand_over) {
    Form_menu menu(binding);
    const RunningSession running(menu.session());
    int ending_signal = 0;
    // Closing the windows writes what was printed, as closing them by hand
    // does; modal dialogs are closed too, and every loop left.
    std::unique_ptr<QSocketNotifier> signalled;
    if (hand_over.fd() >= 0) {
        signalled = std::make_unique<QSocketNotifier>(hand_over.fd(), QSocketNotifier::Read);
        QObject::connect(signalled.get(), &QSocketNotifier::activated, &menu, [&] {
            signalled->setEnabled(false);
            ending_signal = hand_over.taken_signal();
            QApplication::closeAllWindows();
            QApplication::exit(0);
        });
    }
    // A session manager ending the session asks for the work to be kept.
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, &menu,
                     [&menu] { menu.session().end_document(); });
    menu.show();
    if (!open_path.empty()) {
        menu.open_report(open_path);
    }
    if (menu_window_seam()) {
        menu_window_seam()(menu);
    }
    const int status = QApplication::exec();
    return ending_signal != 0 ? ending_signal : (status == 0 ? 0 : -1);
}

} // namespace

int run_menu_window(PrinterBinding& binding, const std::string& open_path) {
    QApplication::setWindowIcon(window_icon());
    EndingSignalHandOver hand_over;
    const int ended_by = run_until_closed(binding, open_path, hand_over);
    if (ended_by > 0) {
        // The windows are gone, their documents written and jobs sent whole.
        end_by_signal(ended_by);
    }
    return ended_by == 0 ? kExitOk : kExitInternal;
}

} // namespace kvalon
