#include "ui/qt/window_loop.h"

#include "engine/exit_status.h"
#include "ui/qt/menu_window.h"
#include "ui/qt/window_icon.h"

#include <QApplication>

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

int run_menu_window(PrinterBinding& binding, const std::string& open_path) {
    QApplication::setWindowIcon(window_icon());
    Form_menu menu(binding);
    menu.show();
    if (!open_path.empty()) {
        menu.open_report(open_path);
    }
    if (menu_window_seam()) {
        menu_window_seam()(menu);
    }
    return QApplication::exec() == 0 ? kExitOk : kExitInternal;
}

} // namespace kvalon
