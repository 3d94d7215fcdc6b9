#include "ui/form_menu.h"

#include "engine/error.h"
#include "engine/error_report.h"
#include "engine/file_checks.h"
#include "engine/messages.h"
#include "engine/plan_layout.h"
#include "engine/print_job.h"
#include "engine/printer_surface.h"
#include "engine/source_file.h"
#include "printing/print_page.h"
#include "ui/design_font.h"
#include "ui/file_dialog.h"
#include "ui/form1.h"
#include "ui/form2.h"
#include "ui/message_box.h"
#include "ui/twips.h"
#include "ui/window_icon.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>

namespace kvalon {

namespace {
constexpr int kClientWidth = 8010;
constexpr int kClientHeight = 4590;
constexpr int kRowHeight = 255;
constexpr int kTitleLeft = 120;
constexpr int kValueLeft = 2400;

enum Value { Printer, File, Font, Size, Chars, Lines, Orientation, PaperSize, PaperName };

struct Row {
    int top;
    const char* title_name;
    const char* title;
    int title_width;
    const char* value_name;
    int value_width;
};

constexpr Row kRows[] = {
    {480, "Label13", "Принтер", 1455, "Label14", 4215},
    {840, "Label1", "Файл", 1455, "Label2", 4200},
    {1200, "Label3", "Фонт", 1455, "Label6", 4200},
    {1560, "Label4", "Фонт-Размер", 1455, "Label5", 4200},
    {1920, "Label7", "Символи на ред до", 2055, "Label8", 4200},
    {2280, "Label9", "Редове на страница ", 2175, "Label10", 4200},
    {2640, "Label11", "Ориентация", 1455, "Label12", 4200},
    {3000, "Label15", "Лист-размери", 1695, "Label16", 4215},
    {3360, "Label17", "Лист-вид", 1935, "Label18", 4215},
};

QString whole_number(double value) {
    return QString::number(static_cast<long long>(value));
}

QString file_path_text(const std::string& path) {
    return QFile::decodeName(path.c_str());
}

// The dialog opens where the last file was chosen; the first time and after a
// cancel, in the user's home folder.
std::string start_folder(const std::string& last_file_name) {
    if (last_file_name.empty()) {
        return QFile::encodeName(QDir::homePath()).toStdString();
    }
    const QFileInfo last(file_path_text(last_file_name));
    return QFile::encodeName(last.absolutePath()).toStdString();
}

void show_error(const KvalonError& error) {
    show_message(message_for(error));
}
} // namespace

Form_menu::Form_menu(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("Form_menu"));
    setWindowTitle(QStringLiteral("Отпечатване на DOS-файлове на Windows принтер"));
    setWindowIcon(window_icon());
    setFont(design_font(QStringLiteral("Fixedsys"), 9));
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(twips_to_pixels_x(kClientWidth), twips_to_pixels_y(kClientHeight));
    setCentralWidget(client);
    build_menu();
    build_frame();
}

Form_menu::~Form_menu() {
    delete m_preview;
}

void Form_menu::build_menu() {
    QMenu* file_menu = menuBar()->addMenu(QStringLiteral("Файл "));
    file_menu->setObjectName(QStringLiteral("File_menu"));
    file_menu->menuAction()->setObjectName(QStringLiteral("File_menu"));

    QAction* choose = file_menu->addAction(QStringLiteral("Избор"));
    choose->setObjectName(QStringLiteral("Izb_f"));
    connect(choose, &QAction::triggered, this, &Form_menu::choose_file);

    m_print = file_menu->addAction(QStringLiteral("Печат"));
    m_print->setObjectName(QStringLiteral("Print_f"));
    m_print->setEnabled(false);
    connect(m_print, &QAction::triggered, this, &Form_menu::show_preview);

    QAction* end = file_menu->addAction(QStringLiteral("Край"));
    end->setObjectName(QStringLiteral("End_prog"));
    connect(end, &QAction::triggered, this, &QWidget::close);

    QAction* help = menuBar()->addAction(QStringLiteral("За програмата"));
    help->setObjectName(QStringLiteral("Help_m"));
    connect(help, &QAction::triggered, this, &Form_menu::show_about);
}

void Form_menu::build_frame() {
    m_frame = new QGroupBox(QStringLiteral(" Данни за печата "), centralWidget());
    m_frame->setObjectName(QStringLiteral("Frame1"));
    m_frame->setGeometry(twips_rect(840, 0, 6735, 4095));
    m_frame->setFont(design_font(QStringLiteral("CourierCyr"), 12));
    QPalette value_palette = m_frame->palette();
    value_palette.setColor(QPalette::Window, QColor(255, 255, 192));
    for (std::size_t row = 0; row < std::size(kRows); ++row) {
        const Row& r = kRows[row];
        add_row_label(r.title_name, QString::fromUtf8(r.title), kTitleLeft, r.top, r.title_width);
        QLabel* value = add_row_label(r.value_name, QString::fromLatin1(r.value_name), kValueLeft,
                                      r.top, r.value_width);
        value->setAutoFillBackground(true);
        value->setPalette(value_palette);
        m_values[row] = value;
    }
    m_frame->hide();
}

QLabel* Form_menu::add_row_label(const char* name, const QString& text, int left, int top,
                                 int width) {
    auto* label = new QLabel(text, m_frame);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(design_font(QStringLiteral("CourierCyr"), 9.75));
    label->setGeometry(twips_rect(left, top, width, kRowHeight));
    return label;
}

void Form_menu::choose_file() {
    PrintJob& j = job();
    const std::string folder = start_folder(j.LastFileName);
    j.SourcePath.clear();
    show_no_file_chosen();
    j.LastFileName = choose_existing_file(this, messages::kChooseFileTitle, folder);
    if (j.LastFileName.empty()) {
        return;
    }
    close_source();
    j.SourcePath = j.LastFileName;
    if (!plan_chosen_file()) {
        drop_job();
        return;
    }
    fill_print_data();
    if (j.PageText.empty() && source_file().at_end()) {
        show_error(KvalonError(ErrorKind::EmptyReport, j.SourcePath));
        drop_job();
        return;
    }
    m_print->setEnabled(true);
    m_frame->show();
    show_preview();
}

bool Form_menu::plan_chosen_file() {
    const std::string& path = job().SourcePath;
    // The dialog only offers existing files, but one may vanish before it is
    // planned.
    try {
        if (!is_regular_file(path)) {
            throw KvalonError(ErrorKind::FileVanished, path);
        }
        printer().set_document_title(document_title(path));
        plan_layout();
        return true;
    } catch (const KvalonError& error) {
        show_error(error);
        return false;
    }
}

void Form_menu::fill_print_data() {
    const PrintJob& j = job();
    m_values[File]->setText(file_path_text(j.SourcePath));
    m_values[Font]->setText(QString::fromStdString(j.FontFace));
    m_values[Size]->setText(QString::number(j.FontSize));
    m_values[Chars]->setText(QString::number(j.CharsPerLine));
    m_values[Lines]->setText(QString::number(j.LinesPerPage));
    if (j.Orientation == "L") {
        m_values[Orientation]->setText(QStringLiteral("Пейзаж (Landscape)"));
    } else if (j.Orientation == "P") {
        m_values[Orientation]->setText(QStringLiteral("Портрет (Portrait)"));
    }
    m_values[Printer]->setText(QString::fromStdString(printer().device_name()));
    m_values[PaperSize]->setText(whole_number(j.PaperWidthMm) + QStringLiteral(" / ") +
                                 whole_number(j.PaperHeightMm));
    m_values[PaperName]->setText(QString::fromStdString(j.PaperName));
}

void Form_menu::show_no_file_chosen() {
    m_print->setEnabled(false);
    m_frame->hide();
}

void Form_menu::drop_job() {
    close_source();
    if (m_preview) {
        m_preview->drop_job();
    }
}

void Form_menu::close_source() {
    source_file().close();
    if (!has_printer()) {
        return;
    }
    try {
        printer().finish_document();
    } catch (const KvalonError& error) {
        show_error(error);
    }
}

void Form_menu::show_preview() {
    if (m_preview && !m_preview->has_job()) {
        // A preview of a dropped job cannot step on; the new job gets a fresh one.
        m_preview->close();
        delete m_preview;
    }
    if (!m_preview) {
        m_preview = new Form2();
    }
    m_preview->show();
    m_preview->raise();
    m_preview->activateWindow();
}

void Form_menu::show_about() {
    if (!m_about) {
        m_about = new Form1(this);
    }
    m_about->show();
    m_about->raise();
    m_about->activateWindow();
}

void Form_menu::closeEvent(QCloseEvent* event) {
    if (m_preview) {
        m_preview->close();
    }
    if (m_about) {
        m_about->close();
    }
    QMainWindow::closeEvent(event);
}

} // namespace kvalon
