#include "ui/user_settings.h"

#include "printing/cups/printer_selection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <algorithm>

namespace kvalon {

namespace {
const QString kFolderKey = QStringLiteral("files/folder");
const QString kPrinterKindKey = QStringLiteral("printer/kind");
const QString kQueueKey = QStringLiteral("printer/queue");
const QString kPdfKey = QStringLiteral("printer/pdf");
const QString kPaperKey = QStringLiteral("printer/paper");
const QString kEscpKey = QStringLiteral("printer/escp");
const QString kCodePageKey = QStringLiteral("report/code-page");
const QString kCupsKind = QStringLiteral("cups");
const QString kPdfKind = QStringLiteral("pdf");

std::string local_path(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString display_path(const std::string& path) {
    return QFile::decodeName(path.c_str());
}

bool queue_is_offered(const std::string& queue) {
    const std::vector<std::string> queues = cups_queue_names();
    return std::find(queues.begin(), queues.end(), queue) != queues.end();
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

std::optional<PrinterTarget> remembered_printer() {
    const QSettings settings;
    const QString kind = settings.value(kPrinterKindKey).toString();
    PrinterTarget target;
    if (kind == kCupsKind) {
        target.kind = PrinterTarget::Kind::Cups;
        target.queue = settings.value(kQueueKey).toString().toStdString();
        if (!target.queue.empty() && queue_is_offered(target.queue)) {
            return target;
        }
    } else if (kind == kPdfKind) {
        const QString pdf = settings.value(kPdfKey).toString();
        target.kind = PrinterTarget::Kind::Pdf;
        target.pdf_path = local_path(pdf);
        target.paper_code = settings.value(kPaperKey, target.paper_code).toInt();
        if (!pdf.isEmpty() && QFileInfo(pdf).absoluteDir().exists()) {
            return target;
        }
    }
    return std::nullopt;
}

void remember_printer(const PrinterTarget& target) {
    QSettings settings;
    if (target.kind == PrinterTarget::Kind::Cups) {
        settings.setValue(kPrinterKindKey, kCupsKind);
        settings.setValue(kQueueKey, QString::fromStdString(target.queue));
    } else {
        settings.setValue(kPrinterKindKey, kPdfKind);
        settings.setValue(kPdfKey, display_path(target.pdf_path));
        settings.setValue(kPaperKey, target.paper_code);
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

} // namespace kvalon
