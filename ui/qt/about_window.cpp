#include "ui/qt/about_window.h"

#include "engine/messages.h"
#include "ui/captions.h"
#include "ui/qt/design_font.h"
#include "ui/qt/twips.h"
#include "ui/qt/window_icon.h"

#include "build_info.h"

#include <QLabel>
#include <QShortcut>

#include <cstdlib>

namespace kvalon {

namespace {
constexpr int kClientWidth = 5700;
constexpr int kClientHeight = 2550;
constexpr int kLabelLeft = 120;

std::string with_sign_place(int number) {
    return (number < 0 ? "-" : " ") + std::to_string(std::abs(number));
}
} // namespace

std::string about_version_text(int major, int minor, int revision) {
    return captions::kVersion + with_sign_place(major) + "." + with_sign_place(minor) + "." +
           with_sign_place(revision);
}

Form1::Form1(QWidget* owner)
    : QWidget(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("Form1"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromStdString(messages::kTitle));
    setWindowIcon(window_icon());
    setFixedSize(twips_to_pixels_x(kClientWidth), twips_to_pixels_y(kClientHeight));
    if (owner != nullptr) {
        // Centred on the menu window that opened it.
        move(owner->frameGeometry().center() - rect().center());
    }

    QLabel* trade_name = add_label("Label3", QString::fromUtf8(captions::kTradeName), 240, 600);
    trade_name->setFont(design_font(QStringLiteral("MS Sans Serif"), 18));
    add_label("Label1", QString::fromUtf8(captions::kAboutPurpose), 960, 300);
    m_version = add_label("Label2", QString::fromUtf8(captions::kVersionLabel), 1440, 360);
    m_version->setFont(design_font(QStringLiteral("MS Sans Serif"), 9.75));
    add_label("Label4",
              QString::fromUtf8(build_info::home_url) + QStringLiteral("   ") +
                  QString::fromUtf8(build_info::email),
              1980, 300);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    load();
}

void Form1::load() {
    m_version->setText(QString::fromStdString(about_version_text(
        build_info::version_major, build_info::version_minor, build_info::version_revision)));
}

QLabel* Form1::add_label(const char* name, const QString& text, int top, int height) {
    auto* label = new QLabel(text, this);
    label->setObjectName(QString::fromLatin1(name));
    label->setAlignment(Qt::AlignCenter);
    label->setGeometry(twips_rect(kLabelLeft, top, kClientWidth - 2 * kLabelLeft, height));
    return label;
}

} // namespace kvalon
