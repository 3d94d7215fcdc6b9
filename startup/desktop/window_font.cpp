#include "startup/desktop/window_font.h"

#include "engine/print_job.h"
#include "printing/program_font.h"
#include "startup/install_font.h"
#include "ui/qt/message_box.h"

#include <QFontDatabase>
#include <QString>
#include <QStringList>

namespace kvalon {

void install_window_font() {
    const PrintJob& j = job();
    FontInstallation installation;
    for (const QString& family : QFontDatabase::families()) {
        installation.offered_faces.push_back(family.toStdString());
    }
    installation.face = j.FontFace;
    installation.file_name = j.FontFileName;
    installation.program_folder = program_folder();
    installation.find_fonts_folder = find_fonts_folder;
    installation.show_message = [](const std::string& text) { show_message(text); };
    if (const auto file = install_font_file(installation)) {
        QFontDatabase::addApplicationFont(QString::fromStdString(*file));
    }
}

} // namespace kvalon
