#include "ui/file_dialog.h"

#include <QFile>
#include <QFileDialog>
#include <QString>

namespace kvalon {

namespace {
std::function<std::string(const std::string&)>& file_dialog_seam() {
    static std::function<std::string(const std::string&)> seam;
    return seam;
}
} // namespace

void set_file_dialog_seam(std::function<std::string(const std::string&)> seam) {
    file_dialog_seam() = std::move(seam);
}

std::string choose_existing_file(QWidget* parent, const std::string& title_utf8,
                                 const std::string& start_folder) {
    if (file_dialog_seam()) {
        return file_dialog_seam()(start_folder);
    }
    QFileDialog dialog(parent, QString::fromStdString(title_utf8),
                       QFile::decodeName(start_folder.c_str()));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return QFile::encodeName(dialog.selectedFiles().constFirst()).toStdString();
}

} // namespace kvalon
