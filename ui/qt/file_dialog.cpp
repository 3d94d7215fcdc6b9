#include "ui/qt/file_dialog.h"

#include "ui/captions.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QLocale>
#include <QString>

#include <iterator>

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

// The columns of the file list where Qt's Bulgarian has no words of its own
// (folders' type, sizes) or writes the system's way (dates): our words, the
// Bulgarian way.
class BulgarianFileColumns final : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override {
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (role != Qt::DisplayRole || files == nullptr || index.column() < 1) {
            return QIdentityProxyModel::data(index, role);
        }
        const QFileInfo info = files->fileInfo(mapToSource(index));
        switch (index.column()) {
        case 1:
            return info.isDir() ? QString() : size_text(info.size());
        case 2:
            return info.isDir() ? QString::fromUtf8(captions::kFolderType)
                                : QIdentityProxyModel::data(index, role);
        case 3:
            return m_bulgarian.toString(info.lastModified(), QStringLiteral("dd.MM.yyyy HH:mm"));
        default:
            return QIdentityProxyModel::data(index, role);
        }
    }

private:
    QString size_text(qint64 bytes) const {
        constexpr double kStep = 1024;
        const char* const units[] = {captions::kKilobytes, captions::kMegabytes,
                                     captions::kGigabytes};
        if (bytes < static_cast<qint64>(kStep)) {
            return QString::number(bytes) + QLatin1Char(' ') + QString::fromUtf8(captions::kBytes);
        }
        double value = static_cast<double>(bytes) / kStep;
        std::size_t unit = 0;
        while (value >= kStep && unit + 1 < std::size(units)) {
            value /= kStep;
            ++unit;
        }
        return m_bulgarian.toString(value, 'f', 1) + QLatin1Char(' ') +
               QString::fromUtf8(units[unit]);
    }

    QLocale m_bulgarian{QLocale::Bulgarian, QLocale::Bulgaria};
};

// Qt's own dialog, so it speaks the program's language on every desktop.
void use_own_dialog(QFileDialog& dialog) {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setLabelText(QFileDialog::Reject, QString::fromUtf8(captions::kCancel));
    dialog.setProxyModel(new BulgarianFileColumns(&dialog));
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
