#include "ui/user_settings.h"

#include "printing/choice/printer_choice.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

namespace kvalon {

namespace {
const QString kFolderKey = QStringLiteral("files/folder");
// The printer's kind and its own fields, each under "printer/".
const QString kPrinterGroup = QStringLiteral("printer");
const QString kPrinterKindKey = QStringLiteral("kind");
const QString kEscpKey = QStringLiteral("printer/escp");
const QString kCodePageKey = QStringLiteral("report/code-page");
const QString kFitPagesKey = QStringLiteral("printer/fit-pages");

std::string local_path(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString display_path(const std::string& path) {
    return QFile::decodeName(path.c_str());
}

} // namespace

std::string remembered_folder() {
    const QString folder = QSettings().value(kFolderKey).toString();
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        return {};
    }
    return local_path(folder);
}

void remember_folder_of(const std::string& report_path) {
    QSettings().setValue(kFolderKey, QFileInfo(display_path(report_path)).absolutePath());
}

std::shared_ptr<const Destination> remembered_printer() {
    QSettings settings;
    settings.beginGroup(kPrinterGroup);
    RememberedPrinter remembered;
    remembered.kind = settings.value(kPrinterKindKey).toString().toStdString();
    for (const QString& key : settings.childKeys()) {
        if (key != kPrinterKindKey) {
            remembered.fields[key.toStdString()] = local_path(settings.value(key).toString());
        }
    }
    return remembered.kind.empty() ? nullptr : restore_printer(remembered);
}

void remember_printer(const Destination& destination) {
    const RememberedPrinter remembered = destination.remembered();
    QSettings settings;
    settings.beginGroup(kPrinterGroup);
    settings.setValue(kPrinterKindKey, QString::fromStdString(remembered.kind));
    for (const auto& [key, value] : remembered.fields) {
        settings.setValue(QString::fromStdString(key), display_path(value));
    }
}

bool remembered_escp_mode() {
    return QSettings().value(kEscpKey, false).toBool();
}

void remember_escp_mode(bool on) {
    QSettings().setValue(kEscpKey, on);
}

std::optional<CodePageChoice> remembered_code_page() {
    const QString name = QSettings().value(kCodePageKey).toString();
    return name.isEmpty() ? std::nullopt : code_page_choice_named(name.toStdString());
}

void remember_code_page(const CodePageChoice& choice) {
    QSettings().setValue(kCodePageKey,
                         QString::fromStdString(std::string(code_page_choice_name(choice))));
}

bool remembered_fit_pages() {
    return QSettings().value(kFitPagesKey, false).toBool();
}

void remember_fit_pages(bool on) {
    QSettings().setValue(kFitPagesKey, on);
}

} // namespace kvalon
