#include "ui/menu_window.h"

#include "engine/exit_status.h"
#include "ui/form_menu.h"
#include "ui/qt_translation.h"
#include "ui/window_icon.h"

#include <QApplication>
#include <QTranslator>

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

int run_menu_window() {
    QTranslator translator;
    install_qt_translation(translator);
    QApplication::setWindowIcon(window_icon());
    Form_menu menu;
    menu.show();
    if (menu_window_seam()) {
        menu_window_seam()(menu);
    }
    const int status = QApplication::exec();
    QCoreApplication::removeTranslator(&translator);
    return status == 0 ? kExitOk : kExitInternal;
}

} // namespace kvalon
