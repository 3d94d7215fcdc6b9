#include "ui/form2.h"

#include "engine/error.h"
#include "engine/error_report.h"
#include "engine/escp_line.h"
#include "engine/filter_text.h"
#include "engine/print_job.h"
#include "engine/read_page.h"
#include "engine/source_file.h"
#include "printing/print_page.h"
#include "ui/design_font.h"
#include "ui/message_box.h"
#include "ui/screen_text.h"
#include "ui/twips.h"
#include "ui/window_icon.h"

#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>

namespace kvalon {

namespace {
constexpr int kClientWidth = 8880;
constexpr int kClientHeight = 6450;
// The text box follows the window's width and stays this much narrower.
constexpr int kTextMargin = 300;

const QString kNextPage = QStringLiteral("Следваща стр.");
const QString kLastShownAtLoad = QStringLiteral("Край");
const QString kLastShownAfterStep = QStringLiteral("Край на печата");
const QString kNothingLeft = QStringLiteral("Последна стр.");

QString page_count_text(double count) {
    return QString::number(static_cast<long long>(count));
}

QString file_name_if_present(const std::string& path) {
    const QFileInfo info(QFile::decodeName(path.c_str()));
    return info.exists() ? info.fileName() : QString();
}
} // namespace

Form2::Form2(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("Form2"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Отпечатване на DOS-файлове на Windows принтер"));
    setWindowIcon(window_icon());
    setFont(design_font(QStringLiteral("Courier New"), 8.25));
    resize(twips_to_pixels_x(kClientWidth), twips_to_pixels_y(kClientHeight));
    build_controls();
    load();
}

void Form2::build_controls() {
    const QFont button_font = design_font(QStringLiteral("MS Sans Serif"), 8.25, true);
    m_next = new QPushButton(QStringLiteral("Начало "), this);
    m_next->setObjectName(QStringLiteral("Command1"));
    m_next->setGeometry(twips_rect(0, 120, 2175, 495));
    m_next->setFont(button_font);
    m_print = new QPushButton(QStringLiteral("Печат стр.1 "), this);
    m_print->setObjectName(QStringLiteral("Command2"));
    m_print->setGeometry(twips_rect(2520, 120, 1575, 495));
    m_print->setFont(button_font);

    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("Text1"));
    m_text->setGeometry(twips_rect(120, 600, 7575, 5655));
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    setTabOrder(m_text, m_next);
    setTabOrder(m_next, m_print);
    connect(m_text, &QPlainTextEdit::textChanged, this, &Form2::take_edit);
    connect(m_next, &QPushButton::clicked, this, &Form2::next_page);
    connect(m_print, &QPushButton::clicked, this, &Form2::print_this_page);
}

void Form2::Command2_text() {
    const PrintJob& j = job();
    const int shown = j.PageNumber == 0 ? 1 : j.PageNumber;
    m_print->setText(QStringLiteral("Печат стр. ") + QString::number(shown) + QLatin1Char('/') +
                     page_count_text(j.PageCount));
}

void Form2::load() {
    Command2_text();
    if (!read_next_page()) {
        return;
    }
    const PrintJob& j = job();
    setWindowTitle(file_name_if_present(j.SourcePath));
    show_page();
    if (j.FontSize > 0) {
        QFont text_font = m_text->font();
        text_font.setPointSize(j.FontSize);
        m_text->setFont(text_font);
    }
    if (j.PageNumber > 0) {
        m_next->setText(kNextPage);
        m_print->show();
    }
    if (j.SourceDone && j.PageNumber > 0) {
        m_next->setText(kLastShownAtLoad);
        m_print->show();
    }
    if (j.SourceDone && j.PageText.empty()) {
        m_next->setText(kNothingLeft);
        m_print->hide();
    }
}

bool Form2::read_next_page() {
    if (!m_has_job || !source_file().is_open()) {
        drop_job();
        return false;
    }
    try {
        read_page();
        return true;
    } catch (const KvalonError& error) {
        show_message(message_for(error));
        drop_job();
        return false;
    }
}

void Form2::show_page() {
    m_text->setPlainText(
        screen_text_to_display(filter_text(escp_screen_page(job().PageText), "Screen")));
}

void Form2::next_page() {
    if (!read_next_page()) {
        return;
    }
    show_page();
    const bool source_at_end = source_file().at_end();
    m_next->setText(source_at_end ? kLastShownAfterStep : kNextPage);
    if (job().PageText.empty() && source_at_end) {
        close();
        return;
    }
    m_print->show();
    Command2_text();
}

void Form2::print_this_page() {
    if (!job().PageText.empty()) {
        try {
            print_page();
        } catch (const KvalonError& error) {
            // The page stays on view, so the user can print it again once the
            // printer is back.
            show_message(message_for(error));
            return;
        }
    }
    next_page();
}

void Form2::take_edit() {
    // A dropped window no longer speaks for the job under it.
    if (m_has_job) {
        job().PageText = display_to_screen_text(m_text->toPlainText());
    }
}

void Form2::drop_job() {
    m_has_job = false;
    m_next->setEnabled(false);
    m_print->setEnabled(false);
}

bool Form2::has_job() const {
    return m_has_job;
}

void Form2::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_text->resize(frameGeometry().width() - twips_to_pixels_x(kTextMargin), m_text->height());
}

void Form2::closeEvent(QCloseEvent* event) {
    unsetCursor();
    QWidget::closeEvent(event);
}

} // namespace kvalon
