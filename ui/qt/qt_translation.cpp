#include "ui/qt/qt_translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace kvalon {

bool install_qt_translation(QTranslator& translator) {
    const QLocale bulgarian(QLocale::Bulgarian, QLocale::Bulgaria);
    // What Qt words by the locale (the kinds of files in the file dialog)
    // speaks Bulgarian too, whatever the system's language.
    QLocale::setDefault(bulgarian);
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!translator.load(bulgarian, QStringLiteral("qtbase"), QStringLiteral("_"), folder)) {
        return false;
    }
    return QCoreApplication::installTranslator(&translator);
}

} // namespace kvalon
