#include "ui/qt/menu_window.h"

#include "engine/messages.h"
#include "ui/captions.h"
#include "ui/qt/choice_menu.h"
#include "ui/qt/code_page_menu.h"
#include "ui/qt/design_font.h"
#include "ui/qt/file_dialog.h"
#include "ui/qt/history_window.h"
#include "ui/qt/offset_dialog.h"
#include "ui/qt/print_data_frame.h"
#include "ui/qt/printer_menu.h"
#include "ui/qt/qt_settings_store.h"
#include "ui/qt/qt_window_services.h"
#include "ui/qt/reading_menus.h"
#include "ui/qt/twips.h"
#include "ui/qt/window_icon.h"
#include "ui/qt/window_places.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>
#include <QUrl>

#include <algorithm>

namespace kvalon {

namespace {
constexpr int kClientWidth = 8010;
constexpr int kClientHeight = 5310;
// The print data's frame, from the client's left and right edges.
constexpr int kFrameLeft = 840;
constexpr int kFrameRight = 435;
constexpr int kFrameWidth = kClientWidth - kFrameLeft - kFrameRight;

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
    : QMainWindow(parent), m_settings(qt_settings_store()),
      m_menu(binding, m_settings, qt_window_services()) {
    setObjectName(QStringLiteral("Form_menu"));
    setWindowTitle(QString::fromUtf8(captions::kMainTitle));
    setWindowIcon(window_icon());
    setFont(design_font(QStringLiteral("Fixedsys"), 9));
    setAcceptDrops(true);
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setMinimumSize(twips_to_pixels_x(kClientWidth), twips_to_pixels_y(kClientHeight));
    setCentralWidget(client);
    build_menu();
    add_menu_keys();
    m_frame = new PrintDataFrame(centralWidget());
    m_frame->hide();
    m_places = new WindowPlaces(*this, *m_frame, m_settings);
    m_places->restore_menu();
    m_hint = new QLabel(QString::fromUtf8(captions::kChooseReportHint), centralWidget());
    m_hint->setObjectName(QStringLiteral("chooseHint"));
    m_hint->setAlignment(Qt::AlignCenter);
    m_hint->setGeometry(centralWidget()->rect());
    build_status_line();
    const auto show_text = [this](const std::string& text) {
        show_status(QString::fromStdString(text));
    };
    m_status_shown = m_menu.status.subscribe(show_text);
    m_session_status_shown = session().status_changed.subscribe(show_text);
    // A job that fails under the preview leaves no print data standing; a
    // report planned again shows its new figures.
    m_job_shown = session().job_changed.subscribe([this] {
        if (session().has_job()) {
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
    connect(
        m_print, &QAction::triggered, this, [this] { show_preview(PreviewFocus::Take); },
        Qt::QueuedConnection);

    auto* printers = new PrinterMenu(
        QString::fromUtf8(captions::kPrinterMenu), m_menu.binding(), m_settings,
        [this](std::shared_ptr<const Destination> chosen) { choose_printer(std::move(chosen)); },
        [this] { show_offset_dialog(); }, this);
    m_file_menu->addMenu(printers);

    add_reading_menus();
    add_code_page_menu();
    add_switch(m_fit_pages, "fitPages", captions::kFitPages, m_menu.fit_pages(),
               &MenuSession::set_fit_pages);

    QAction* history = m_file_menu->addAction(QString::fromUtf8(captions::kHistoryItem));
    history->setObjectName(QStringLiteral("History_f"));
    connect(history, &QAction::triggered, this, &Form_menu::show_history, Qt::QueuedConnection);

    QAction* end = m_file_menu->addAction(QString::fromUtf8(captions::kEndProgram));
    end->setObjectName(QStringLiteral("End_prog"));
    connect(end, &QAction::triggered, this, &QWidget::close);

    QAction* help = menuBar()->addAction(QString::fromUtf8(captions::kAbout));
    help->setObjectName(QStringLiteral("Help_m"));
    connect(help, &QAction::triggered, this, &Form_menu::show_about, Qt::QueuedConnection);
}

// A way of reading reports, on or off: a report on view is planned again.
void Form_menu::add_switch(QAction*& action, const char* name, const char* caption, bool on,
                           void (MenuSession::*set)(bool)) {
    action = m_file_menu->addAction(QString::fromUtf8(caption));
    action->setObjectName(QString::fromLatin1(name));
    action->setCheckable(true);
    action->setChecked(on);
    connect(action, &QAction::toggled, this, [this, set](bool checked) {
        (m_menu.*set)(checked);
        plan_again();
    });
}

void Form_menu::add_reading_menus() {
    m_languages = make_language_menu(
        m_menu, [this] { plan_again(); }, this);
    m_file_menu->addMenu(m_languages);
    m_file_menu->addMenu(make_form_length_menu(
        m_menu, [this] { plan_again(); }, this));
}

void Form_menu::add_code_page_menu() {
    m_code_pages = new CodePageMenu(
        QString::fromUtf8(captions::kCodePageMenu), m_menu.code_page(),
        [this](const CodePageChoice& choice) {
            m_menu.set_code_page(choice);
            plan_again();
        },
        this);
    m_file_menu->addMenu(m_code_pages);
}

// The report on view, if any, from its first page; the pages printed of it
// so far go out first. The keyboard stays in the menu window, where the
// choice was made: the preview shows the new plan without taking the focus.
void Form_menu::plan_again() {
    if (const std::optional<std::string> report = m_menu.report_to_plan_again()) {
        open_report(*report, PreviewFocus::Keep);
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

void Form_menu::build_status_line() {
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("statusLine"));
    // A long message is cut rather than widening the window; whole in the tip.
    m_status->setMinimumWidth(1);
    m_status->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    // A hint beside its button runs onto a second line rather than ending
    // mid-word.
    m_status->setWordWrap(true);
    statusBar()->addWidget(m_status, 1);
    m_escp_offer = new QPushButton(QString::fromUtf8(captions::kEscpOffer), this);
    m_escp_offer->setObjectName(QStringLiteral("escpOffer"));
    m_escp_offer->hide();
    statusBar()->addPermanentWidget(m_escp_offer);
    connect(m_escp_offer, &QPushButton::clicked, this, [this] {
        m_languages->show_choice(language_choice_name(LanguageChoice::Epson));
        m_menu.set_language(LanguageChoice::Epson);
        plan_again();
    });
    m_code_page_offer = new QPushButton(QString::fromUtf8(captions::kCodePageOffer), this);
    m_code_page_offer->setObjectName(QStringLiteral("codePageOffer"));
    m_code_page_offer->hide();
    statusBar()->addPermanentWidget(m_code_page_offer);
    connect(m_code_page_offer, &QPushButton::clicked, this, [this] {
        const CodePageChoice automatic{true, CodePageId::Mik};
        m_code_pages->show_choice(automatic);
        m_menu.set_code_page(automatic);
        plan_again();
    });
}

void Form_menu::choose_file() {
    const std::string home = QFile::encodeName(QDir::homePath()).toStdString();
    const std::string folder = m_menu.start_choice(home);
    show_no_file_chosen();
    open_report(choose_existing_file(this, messages::kChooseFileTitle, folder));
}

void Form_menu::open_report(const std::string& path, PreviewFocus focus) {
    show_no_file_chosen();
    // The print data are filled as the job is planned.
    if (!m_menu.open_report(path)) {
        return;
    }
    m_print->setEnabled(true);
    m_frame->show();
    m_hint->hide();
    m_escp_offer->setVisible(m_menu.offers_escp_mode());
    m_code_page_offer->setVisible(m_menu.offers_told_code_page());
    show_preview(focus);
}

void Form_menu::choose_printer(std::shared_ptr<const Destination> destination) {
    m_menu.choose_printer(std::move(destination));
    m_frame->show_printer(m_menu.printer_name());
    // The new paper needs a new plan, from the first page.
    plan_again();
}

// A new offset plans the report on view again, as a new printer does: its
// print data and note are the offset printer's.
// A kept job printed again goes to the printer chosen here, all its pages.
void Form_menu::show_history() {
    JobHistory* history = qt_window_services().job_history();
    std::vector<KeptJob> jobs;
    if (history != nullptr && history->settings().enabled()) {
        jobs = history->list();
    }
    auto* window = new HistoryWindow(
        this, std::move(jobs),
        [this](const std::string& path) {
            open_report(path, PreviewFocus::Keep);
            if (session().has_job()) {
                session().print_pages(1, session().page_total());
            }
        },
        [this](const std::string& path) { open_report(path); });
    window->open();
}

void Form_menu::show_offset_dialog() {
    auto* dialog = new OffsetDialog(
        this, m_menu.printer_name(), m_menu.offset(),
        [this](const SheetOffset& offset) {
            m_menu.set_offset(offset);
            plan_again();
        },
        [this](const SheetOffset& offset) {
            m_menu.set_offset(offset);
            m_menu.print_calibration_page();
            plan_again();
        });
    dialog->open();
}

// The note says what the page cannot do on the printer: on the status line.
void Form_menu::fill_print_data() {
    const PrintData shown = m_menu.print_data();
    m_frame->show_data(shown);
    if (!shown.note.empty()) {
        show_status(QString::fromStdString(shown.note));
    }
}

void Form_menu::show_no_file_chosen() {
    m_print->setEnabled(false);
    m_frame->hide();
    m_hint->show();
    m_escp_offer->hide();
    m_code_page_offer->hide();
}

void Form_menu::show_preview(PreviewFocus focus) {
    if (!m_print->isEnabled()) {
        return; // the job went while the menu was closing
    }
    if (!m_preview) {
        m_preview = new Form2(session());
        m_places->place_preview(*m_preview);
        add_choose_key(m_preview);
    }
    const bool take_focus = focus == PreviewFocus::Take;
    m_preview->setAttribute(Qt::WA_ShowWithoutActivating, !take_focus);
    m_preview->show();
    if (take_focus) {
        m_preview->raise();
        m_preview->activateWindow();
    } else {
        activateWindow();
    }
}

// Ctrl+O chooses a report in whichever of the windows the user is.
void Form_menu::add_choose_key(QWidget* window) {
    auto* choose = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_O), window);
    connect(choose, &QShortcut::activated, this, &Form_menu::choose_file, Qt::QueuedConnection);
}

void Form_menu::show_about() {
    if (!m_about) {
        m_about = new Form1(this);
        add_choose_key(m_about);
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
        session().check_source();
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

// A window made wider widens the print data with it, for long paths.
void Form_menu::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (m_frame == nullptr) {
        return;
    }
    const QRect client = centralWidget()->rect();
    m_frame->resize(std::max(twips_to_pixels_x(kFrameWidth),
                             client.width() - twips_to_pixels_x(kFrameLeft + kFrameRight)),
                    m_frame->height());
    m_hint->setGeometry(client);
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
