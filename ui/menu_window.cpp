#include "ui/menu_window.h"

#include <QApplication>
#include <QMainWindow>

namespace kvalon {

int run_menu_window() {
    QMainWindow window;
    window.setObjectName(QStringLiteral("Form_menu"));
    window.setWindowTitle(QStringLiteral("Отпечатване на DOS-файлове на Windows принтер"));
    window.show();
    return QApplication::exec();
}

} // namespace kvalon
