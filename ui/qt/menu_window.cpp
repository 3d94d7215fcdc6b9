#include "ui/qt/menu_window.h"

#include "engine/epson_sequences.h"
#include "engine/messages.h"
#include "engine/print_job.h"
#include "engine/printer_surface.h"
#include "printing/printer_binding.h"
#include "printing/sheet_placement.h"
#include "ui/captions.h"
#include "ui/qt/code_page_menu.h"
#include "ui/qt/design_font.h"
#include "ui/qt/file_dialog.h"
#include "ui/qt/path_label.h"
#include "ui/qt/printer_menu.h"
#include "ui/qt/twips.h"
#include "ui/qt/window_icon.h"
#include "ui/user_settings.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>
#include <QUrl>

namespace kvalon {

namespace {
constexpr int kClientWidth = 8010;
constexpr int kClientHeight = 4590;
constexpr int kRowHeight = 255;
constexpr int kTitleLeft = 120;
constexpr int kValueLeft = 2400;

enum Value {
    Printer,
    File,
    Font,
    Size,
    Chars,
    Lines,
    Orientation,
    PaperSize,
    PaperName,
    JobSettings,
    Mode
};

struct Row {
    int top;
    const char* title_name;
    const char* title;
    int title_width;
    const char* value_name;
    int value_width;
};

constexpr Row kRows[] = {
    {480, "Label13", captions::kPrinterRow, 1455, "Label14", 4215},
    {840, "Label1", captions::kFileRow, 1455, "Label2", 4200},
    {1200, "Label3", captions::kFontRow, 1455, "Label6", 4200},
    {1560, "Label4", captions::kFontSizeRow, 1455, "Label5", 4200},
    {1920, "Label7", captions::kCharsRow, 2055, "Label8", 4200},
    {2280, "Label9", captions::kLinesRow, 2175, "Label10", 4200},
    {2640, "Label11", captions::kOrientationRow, 1455, "Label12", 4200},
    {3000, "Label15", captions::kPaperSizeRow, 1695, "Label16", 4215},
    {3360, "Label17", captions::kPaperNameRow, 1935, "Label18", 4215},
    // What a print queue is told with the job; the PDF printer is told nothing.
    {3720, "Label19", captions::kJobSettingsRow, 1455, "Label20", 4215},
    // How the report is read: as plain text or as an Epson printer reads it.
    {4080, "Label21", captions::kModeRow, 1455, "Label22", 4215},
};

QString whole_number(double value) {
    return QString::number(static_cast<long long>(value));
}

QString file_path_text(const std::string& path) {
    return QFile::decodeName(path.c_str());
}

// The dialog opens where the last report was chosen, in this run or an
// earlier one (a cancel forgets nothing); the very first time at home.
std::string start_folder(const std::string& last_file_name) {
    if (!last_file_name.empty()) {
        const QFileInfo last(file_path_text(last_file_name));
        return QFile::encodeName(last.absolutePath()).toStdString();
    }
    const std::string remembered = remembered_folder();
    return remembered.empty() ? QFile::encodeName(QDir::homePath()).toStdString() : remembered;
}

// One existing file dropped from a file manager; empty for anything else.
std::string dropped_report(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls() || data->urls().size() != 1) {
        return {};
    }
    const QUrl url = data->urls().constFirst();
    if (!url.isLocalFile() || !QFileInfo(url.toLocalFile()).isFile()) {
        return {};
    }
    return QFile::encodeName(url.toLocalFile()).toStdString();
}
} // namespace

Form_menu::Form_menu(PrinterBinding& binding, QWidget* parent)
    : QMainWindow(parent), m_binding(binding), m_session(binding) {
    setObjectName(QStringLiteral("Form_menu"));
    setWindowTitle(QString::fromUtf8(captions::kMainTitle));
    setWindowIcon(window_icon());
    setFont(design_font(QStringLiteral("Fixedsys"), 9));
    setAcceptDrops(true);
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(twips_to_pixels_x(kClientWidth), twips_to_pixels_y(kClientHeight));
    setCentralWidget(client);
    build_menu();
    add_menu_keys();
    build_frame();
    build_status_line();
    connect(&m_session, &PrintSession::status_changed, this, &Form_menu::show_status);
    // A job that fails under the preview leaves no print data standing; a
    // report planned again shows its new figures.
    connect(&m_session, &PrintSession::job_changed, this, [this] {
        if (m_session.has_job()) {
            fill_print_data();
        } else {
            show_no_file_chosen();
        }
    });
}

Form_menu::~Form_menu() {
    delete m_preview;
}

void Form_menu::build_menu() {
    m_file_menu = menuBar()->addMenu(QString::fromUtf8(captions::kFileMenu));
    m_file_menu->setObjectName(QStringLiteral("File_menu"));
    m_file_menu->menuAction()->setObjectName(QStringLiteral("File_menu"));

    // Items that open a window do so once the menu has closed and its click
    // or key has been handled to the end, not from inside that handling: the
    // menu bar finishes drawing itself back to rest while its window is still
    // the active one, and only then does another window take the focus.
    QAction* choose = m_file_menu->addAction(QString::fromUtf8(captions::kChooseFile));
    choose->setObjectName(QStringLiteral("Izb_f"));
    choose->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    connect(choose, &QAction::triggered, this, &Form_menu::choose_file, Qt::QueuedConnection);

    m_print = m_file_menu->addAction(QString::fromUtf8(captions::kPrintPreview));
    m_print->setObjectName(QStringLiteral("Print_f"));
    m_print->setEnabled(false);
    connect(m_print, &QAction::triggered, this, &Form_menu::show_preview, Qt::QueuedConnection);

    auto* printers = new PrinterMenu(
        QString::fromUtf8(captions::kPrinterMenu), m_binding,
        [this](std::shared_ptr<const Destination> chosen) { choose_printer(std::move(chosen)); },
        this);
    m_file_menu->addMenu(printers);

    add_escp_switch();
    add_code_page_menu();
    add_fit_pages_switch();

    QAction* end = m_file_menu->addAction(QString::fromUtf8(captions::kEndProgram));
    end->setObjectName(QStringLiteral("End_prog"));
    connect(end, &QAction::triggered, this, &QWidget::close);

    QAction* help = menuBar()->addAction(QString::fromUtf8(captions::kAbout));
    help->setObjectName(QStringLiteral("Help_m"));
    connect(help, &QAction::triggered, this, &Form_menu::show_about, Qt::QueuedConnection);
}

// The mode asked for on the command line or in the environment holds for
// this run; otherwise the one the user chose last.
void Form_menu::add_escp_switch() {
    PrintJob& j = job();
    j.EscpMode = j.EscpMode || remembered_escp_mode();
    m_escp = m_file_menu->addAction(QString::fromUtf8(captions::kEscpMode));
    m_escp->setObjectName(QStringLiteral("escpMode"));
    m_escp->setCheckable(true);
    m_escp->setChecked(j.EscpMode);
    connect(m_escp, &QAction::toggled, this, &Form_menu::switch_escp_mode);
}

// A report on view is planned again: sequences take no cells in the mode.
void Form_menu::switch_escp_mode(bool on) {
    job().EscpMode = on;
    remember_escp_mode(on);
    plan_again();
}

// The code page asked for on the command line or in the environment holds for
// this run; otherwise the one the user chose last.
void Form_menu::add_code_page_menu() {
    PrintJob& j = job();
    if (!j.CodePageAsked) {
        j.CodePageAsked = remembered_code_page();
    }
    m_file_menu->addMenu(new CodePageMenu(
        QString::fromUtf8(captions::kCodePageMenu), j.CodePageAsked.value_or(CodePageChoice{}),
        [this](const CodePageChoice& choice) { choose_code_page(choice); }, this));
}

// A report on view is planned again: its letters and frames are other bytes.
void Form_menu::choose_code_page(const CodePageChoice& choice) {
    job().CodePageAsked = choice;
    remember_code_page(choice);
    plan_again();
}

// Asked for on the command line it holds for this run; otherwise the choice
// the user made last. Off, plans stay as the DOS callers know them.
void Form_menu::add_fit_pages_switch() {
    PrintJob& j = job();
    j.FitPages = j.FitPages || remembered_fit_pages();
    QAction* fit = m_file_menu->addAction(QString::fromUtf8(captions::kFitPages));
    fit->setObjectName(QStringLiteral("fitPages"));
    fit->setCheckable(true);
    fit->setChecked(j.FitPages);
    connect(fit, &QAction::toggled, this, &Form_menu::switch_fit_pages);
}

void Form_menu::switch_fit_pages(bool on) {
    job().FitPages = on;
    remember_fit_pages(on);
    plan_again();
}

// The report on view, if any, from its first page; the pages printed of it
// so far go out first.
void Form_menu::plan_again() {
    if (m_session.has_job()) {
        m_session.end_document();
        const std::string report = m_session.report_path();
        open_report(report);
    }
}

// Alt and the underlined letter open a menu; F10 and Alt+F open the file menu
// on any keyboard layout.
void Form_menu::add_menu_keys() {
    for (const QKeySequence& keys :
         {QKeySequence(Qt::Key_F10), QKeySequence(Qt::ALT | Qt::Key_F)}) {
        auto* shortcut = new QShortcut(keys, this);
        connect(shortcut, &QShortcut::activated, this, &Form_menu::open_file_menu);
    }
}

void Form_menu::open_file_menu() {
    menuBar()->setActiveAction(m_file_menu->menuAction());
}

void Form_menu::build_frame() {
    m_frame = new QGroupBox(QString::fromUtf8(captions::kPrintData), centralWidget());
    m_frame->setObjectName(QStringLiteral("Frame1"));
    // One row taller than designed: the rows of the queue's job settings and
    // of the way the report is read came after the design.
    m_frame->setGeometry(twips_rect(840, 0, 6735, 4455));
    m_frame->setFont(design_font(QStringLiteral("CourierCyr"), 12));
    QPalette value_palette = m_frame->palette();
    value_palette.setColor(QPalette::Window, QColor(255, 255, 192));
    for (std::size_t row = 0; row < std::size(kRows); ++row) {
        const Row& r = kRows[row];
        m_titles[row] = add_row_label(new QLabel(m_frame), r.title_name, QString::fromUtf8(r.title),
                                      kTitleLeft, r.top, r.title_width);
        // Paths keep their file name in view however deep their folders are.
        QLabel* value =
            row == Printer || row == File ? new PathLabel(m_frame) : new QLabel(m_frame);
        add_row_label(value, r.value_name, QString::fromLatin1(r.value_name), kValueLeft, r.top,
                      r.value_width);
        value->setAutoFillBackground(true);
        value->setPalette(value_palette);
        m_values[row] = value;
    }
    m_frame->hide();
    m_hint = new QLabel(QString::fromUtf8(captions::kChooseReportHint), centralWidget());
    m_hint->setObjectName(QStringLiteral("chooseHint"));
    m_hint->setAlignment(Qt::AlignCenter);
    m_hint->setGeometry(centralWidget()->rect());
}

void Form_menu::build_status_line() {
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("statusLine"));
    // A long message is cut rather than widening the window; whole in the tip.
    m_status->setMinimumWidth(1);
    m_status->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    statusBar()->addWidget(m_status, 1);
    m_escp_offer = new QPushButton(QString::fromUtf8(captions::kEscpOffer), this);
    m_escp_offer->setObjectName(QStringLiteral("escpOffer"));
    m_escp_offer->hide();
    statusBar()->addPermanentWidget(m_escp_offer);
    connect(m_escp_offer, &QPushButton::clicked, m_escp, [this] { m_escp->setChecked(true); });
}

QLabel* Form_menu::add_row_label(QLabel* label, const char* name, const QString& text, int left,
                                 int top, int width) {
    label->setText(text);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(design_font(QStringLiteral("CourierCyr"), 9.75));
    label->setGeometry(twips_rect(left, top, width, kRowHeight));
    return label;
}

void Form_menu::choose_file() {
    const std::string folder = start_folder(job().LastFileName);
    job().SourcePath.clear();
    show_no_file_chosen();
    open_report(choose_existing_file(this, messages::kChooseFileTitle, folder));
}

void Form_menu::open_report(const std::string& path) {
    PrintJob& j = job();
    j.SourcePath.clear();
    show_no_file_chosen();
    j.LastFileName = path;
    if (path.empty()) {
        return; // cancelled: the source of an earlier choice stays open
    }
    // The words of the report before belong to it.
    show_status(QString());
    remember_folder_of(path);
    if (!m_session.start(path)) {
        return;
    }
    fill_print_data();
    show_told_code_page();
    m_print->setEnabled(true);
    m_frame->show();
    m_hint->hide();
    offer_escp_mode(path);
    show_preview();
}

// Sequences read as plain text print as their letters: the user is told, and
// offered the mode.
void Form_menu::offer_escp_mode(const std::string& report) {
    const bool offer = !job().EscpMode && holds_epson_sequences(report);
    m_escp_offer->setVisible(offer);
    if (offer) {
        show_status(QString::fromStdString(messages::kEpsonSequencesHint));
    }
}

void Form_menu::choose_printer(std::shared_ptr<const Destination> destination) {
    // Pages already printed belong to the printer they were printed for.
    m_session.end_document();
    m_binding.bind(destination);
    remember_printer(*destination);
    show_printer_name();
    show_status(QString::fromStdString(messages::kPrinterChosen + printer().device_name()));
    if (m_session.has_job()) {
        // The new paper needs a new plan, from the first page.
        const std::string report = m_session.report_path();
        open_report(report);
    }
}

void Form_menu::fill_print_data() {
    const PrintJob& j = job();
    static_cast<PathLabel*>(m_values[File])->set_path(file_path_text(j.SourcePath));
    m_values[Font]->setText(QString::fromStdString(j.FontFace));
    m_values[Size]->setText(QString::number(j.FontSize));
    m_values[Chars]->setText(QString::number(j.CharsPerLine));
    m_values[Lines]->setText(QString::number(j.LinesPerPage));
    if (j.Orientation == "L") {
        m_values[Orientation]->setText(QString::fromUtf8(captions::kLandscape));
    } else if (j.Orientation == "P") {
        m_values[Orientation]->setText(QString::fromUtf8(captions::kPortrait));
    }
    show_printer_name();
    m_values[PaperSize]->setText(whole_number(j.PaperWidthMm) + QStringLiteral(" / ") +
                                 whole_number(j.PaperHeightMm));
    m_values[PaperName]->setText(QString::fromStdString(j.PaperName));
    QString mode = QString::fromUtf8(j.EscpMode ? captions::kModeEscp : captions::kModeText);
    if (j.FitPages) {
        mode += QString::fromUtf8(captions::kModeFitPages);
    }
    m_values[Mode]->setText(mode);
    show_job_settings();
}

// The settings are long and the note says what the page cannot do there:
// the whole of both is in the row's tool tip, the note on the status line.
void Form_menu::show_job_settings() {
    const JobPreview preview = printer().job_preview(planned_cell_area(job()));
    const QString settings = QString::fromStdString(preview.settings);
    const QString note = QString::fromStdString(preview.note);
    m_values[JobSettings]->setText(settings);
    m_values[JobSettings]->setToolTip(note.isEmpty() ? settings
                                                     : settings + QLatin1Char('\n') + note);
    const bool shown = !settings.isEmpty();
    m_titles[JobSettings]->setVisible(shown);
    m_values[JobSettings]->setVisible(shown);
    // No empty row in the frame: the mode moves up into the settings' place.
    const int mode_top = kRows[shown ? Mode : JobSettings].top;
    m_titles[Mode]->setGeometry(
        twips_rect(kTitleLeft, mode_top, kRows[Mode].title_width, kRowHeight));
    m_values[Mode]->setGeometry(
        twips_rect(kValueLeft, mode_top, kRows[Mode].value_width, kRowHeight));
    if (!note.isEmpty()) {
        show_status(note);
    }
}

// A code page told from the report is named, with how sure the program is.
void Form_menu::show_told_code_page() {
    const PrintJob& j = job();
    if (j.CodePageAsked && j.CodePageAsked->automatic) {
        show_status(QString::fromStdString(
            messages::kCodePageTold + std::string(code_page_name(j.CodePage)) +
            messages::kCodePageCertainty + std::to_string(j.CodePageCertainty) + " %)"));
    }
}

void Form_menu::show_printer_name() {
    static_cast<PathLabel*>(m_values[Printer])
        ->set_path(QString::fromStdString(printer().device_name()));
}

void Form_menu::show_no_file_chosen() {
    m_print->setEnabled(false);
    m_frame->hide();
    m_hint->show();
    m_escp_offer->hide();
}

void Form_menu::show_preview() {
    if (!m_print->isEnabled()) {
        return; // the job went while the menu was closing
    }
    if (!m_preview) {
        m_preview = new Form2(m_session);
        m_preview->place_beside(*this);
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

void Form_menu::show_status(const QString& text) {
    m_status->setText(text);
    m_status->setToolTip(text);
}

// Back at the window, the user may have had the DOS program write the report
// anew: the print data must be the report's as it is.
bool Form_menu::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        m_session.check_source();
    }
    return QMainWindow::event(event);
}

void Form_menu::dragEnterEvent(QDragEnterEvent* event) {
    if (!dropped_report(event->mimeData()).empty()) {
        event->acceptProposedAction();
    }
}

void Form_menu::dropEvent(QDropEvent* event) {
    const std::string path = dropped_report(event->mimeData());
    if (path.empty()) {
        return;
    }
    event->acceptProposedAction();
    // The file manager waits for the drop to end; the report is taken after.
    QTimer::singleShot(0, this, [this, path] { open_report(path); });
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
