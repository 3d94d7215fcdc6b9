#include "startup/install_font.h"

#include "engine/print_job.h"
#include "printing/printer_surface.h"

#include <QCoreApplication>
#include <QFile>
#include <QFontDatabase>

namespace kvalon {

void install_font() {
    const PrintJob& j = job();
    PrinterSurface& surface = printer();
    for (int i = 0; i < surface.font_count(); ++i) {
        if (surface.font(i) == j.FontFace) {
            return;
        }
    }
    const QString file = QCoreApplication::applicationDirPath() + QLatin1Char('/') +
                         QString::fromStdString(j.FontFileName);
    if (QFile::exists(file)) {
        QFontDatabase::addApplicationFont(file);
    }
}

} // namespace kvalon
