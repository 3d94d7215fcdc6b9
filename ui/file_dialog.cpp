#include "ui/file_dialog.h"

#include "ui/captions.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QString>

namespace kvalon {

namespace {
using Seam = std::function<std::string(const std::string&)>;

Seam& file_dialog_seam() {
    static Seam seam;
    return seam;
}

Seam& save_dialog_seam() {
    static Seam seam;
    return seam;
}

std::string chosen_path(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return QFile::encodeName(dialog.selectedFiles().constFirst()).toStdString();
}

// Qt's own dialog, so it speaks the program's language on every desktop.
void use_own_dialog(QFileDialog& dialog) {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setLabelText(QFileDialog::Reject, QString::fromUtf8(captions::kCancel));
}
} // namespace

void set_file_dialog_seam(Seam seam) {
    file_dialog_seam() = std::move(seam);
}

void set_save_dialog_seam(Seam seam) {
    save_dialog_seam() = std::move(seam);
}

std::string choose_existing_file(QWidget* parent, const std::string& title_utf8,
                                 const std::string& start_folder) {
    if (file_dialog_seam()) {
        return file_dialog_seam()(start_folder);
    }
    QFileDialog dialog(parent, QString::fromStdString(title_utf8),
                       QFile::decodeName(start_folder.c_str()));
    use_own_dialog(dialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    return chosen_path(dialog);
}

std::string choose_pdf_file(QWidget* parent, const std::string& title_utf8,
                            const std::string& start_path) {
    if (save_dialog_seam()) {
        return save_dialog_seam()(start_path);
    }
    QFileDialog dialog(parent, QString::fromStdString(title_utf8),
                       QFile::decodeName(start_path.c_str()), QStringLiteral("PDF (*.pdf);;* (*)"));
    use_own_dialog(dialog);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    return chosen_path(dialog);
}

} // namespace kvalon
