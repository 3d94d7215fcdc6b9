#include "ui/qt/form_lines_dialog.h"

#include "engine/escp/escp_state.h"
#include "ui/captions.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QSpinBox>

#include <algorithm>

namespace kvalon {

namespace {
using Seam = std::function<std::optional<int>(int)>;

constexpr int kMostLines = static_cast<int>(kEscpLongestForm / kEscpSixthInch);

Seam& form_lines_seam() {
    static Seam seam;
    return seam;
}
} // namespace

void set_form_lines_seam(Seam seam) {
    form_lines_seam() = std::move(seam);
}

std::optional<int> ask_form_lines(QWidget* parent, int proposed) {
    if (form_lines_seam()) {
        return form_lines_seam()(proposed);
    }
    QDialog dialog(parent);
    dialog.setWindowTitle(QString::fromUtf8(captions::kFormLinesTitle));
    auto* lines = new QSpinBox(&dialog);
    lines->setObjectName(QStringLiteral("formLines"));
    lines->setRange(1, kMostLines);
    lines->setValue(std::clamp(proposed, 1, kMostLines));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QString::fromUtf8(captions::kOk));
    buttons->button(QDialogButtonBox::Cancel)->setText(QString::fromUtf8(captions::kCancel));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* form = new QFormLayout(&dialog);
    form->addRow(QString::fromUtf8(captions::kFormLinesLabel), lines);
    form->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return lines->value();
}

} // namespace kvalon
