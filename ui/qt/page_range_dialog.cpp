#include "ui/qt/page_range_dialog.h"

#include "engine/line_limit.h"
#include "ui/captions.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGuiApplication>
#include <QPushButton>
#include <QSpinBox>

#include <algorithm>

namespace kvalon {

namespace {
using Seam = std::function<std::optional<PageRange>(PageRange)>;

// Pixels a window manager's title bar takes besides the title.
constexpr int kTitleBarButtons = 140;

Seam& page_range_seam() {
    static Seam seam;
    return seam;
}

QSpinBox* page_box(QDialog& dialog, const char* name, int value, int pages) {
    auto* box = new QSpinBox(&dialog);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(1, std::clamp(pages, 1, static_cast<int>(kMostPages)));
    box->setValue(value);
    return box;
}
} // namespace

void set_page_range_seam(Seam seam) {
    page_range_seam() = std::move(seam);
}

std::optional<PageRange> ask_page_range(QWidget* parent, PageRange proposed, int pages) {
    if (page_range_seam()) {
        return page_range_seam()(proposed);
    }
    QDialog dialog(parent);
    dialog.setWindowTitle(QString::fromUtf8(captions::kRangeTitle));
    QSpinBox* first = page_box(dialog, "firstPage", proposed.first, pages);
    QSpinBox* last = page_box(dialog, "lastPage", proposed.last, pages);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QString::fromUtf8(captions::kOk));
    buttons->button(QDialogButtonBox::Cancel)->setText(QString::fromUtf8(captions::kCancel));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* form = new QFormLayout(&dialog);
    form->addRow(QString::fromUtf8(captions::kRangeFrom), first);
    form->addRow(QString::fromUtf8(captions::kRangeTo), last);
    form->addRow(buttons);
    // The title bar shows the whole title with the program's name, and room
    // for its buttons.
    const QString title =
        dialog.windowTitle() + QStringLiteral(" — ") + QGuiApplication::applicationDisplayName();
    dialog.setMinimumWidth(dialog.fontMetrics().horizontalAdvance(title) + kTitleBarButtons);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return PageRange{first->value(), last->value()};
}

} // namespace kvalon
