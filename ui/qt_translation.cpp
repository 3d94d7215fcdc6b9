#include "ui/qt_translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace kvalon {

bool install_qt_translation(QTranslator& translator) {
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!translator.load(QLocale(QLocale::Bulgarian, QLocale::Bulgaria), QStringLiteral("qtbase"),
                         QStringLiteral("_"), folder)) {
        return false;
    }
    return QCoreApplication::installTranslator(&translator);
}

} // namespace kvalon
