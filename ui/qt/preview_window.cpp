#include "ui/qt/preview_window.h"

#include "engine/print_job.h"
#include "ui/captions.h"
#include "ui/preview_controls.h"
#include "ui/print_session.h"
#include "ui/qt/design_font.h"
#include "ui/qt/key_button.h"
#include "ui/qt/page_range_dialog.h"
#include "ui/qt/screen_text.h"
#include "ui/qt/twips.h"
#include "ui/qt/window_icon.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScreen>
#include <QShortcut>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>

namespace kvalon {

namespace {
constexpr int kClientWidth = 8880;
constexpr int kClientHeight = 6450;
// A page beside its text wants more room than the designed window had.
constexpr int kRoomyWidth = 1100;
constexpr int kRoomyHeight = 760;

QString caption(const char* text) {
    return QString::fromUtf8(text);
}

QSize first_size() {
    QSize size(std::max(twips_to_pixels_x(kClientWidth), kRoomyWidth),
               std::max(twips_to_pixels_y(kClientHeight), kRoomyHeight));
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
    }
    return size;
}

QLabel* view_caption(const char* name, const char* text, QWidget* parent) {
    auto* label = new QLabel(caption(text), parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}
} // namespace

Form2::Form2(PrintSession& session, QWidget* parent)
    : QWidget(parent, Qt::Window), m_session(session) {
    setObjectName(QStringLiteral("Form2"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(caption(captions::kMainTitle));
    setWindowIcon(window_icon());
    setFont(design_font(QStringLiteral("Courier New"), 8.25));
    build_controls();
    resize(first_size());
    // The text and the printed page side by side, half the window each.
    if (auto* splitter = findChild<QSplitter*>(QStringLiteral("pageSplitter"))) {
        splitter->setSizes({width() / 2, width() / 2});
    }
    m_job_shown = m_session.job_changed.subscribe([this] { show_job(); });
    m_failed_shown = m_session.failed_pages_changed.subscribe([this] { show_failed_pages(); });
    m_status_shown = m_session.status_changed.subscribe([this](const std::string& utf8) {
        const QString text = QString::fromStdString(utf8);
        m_status->setText(text);
        m_status->setToolTip(text);
    });
    m_session.begin_viewing();
    Command2_text();
    show_job();
}

void Form2::build_controls() {
    QWidget* views = build_views();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(build_button_row());
    layout->addWidget(views, 1);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("statusLine"));
    // A long message must not widen the window: it is cut, and whole in the tip.
    m_status->setMinimumWidth(1);
    m_status->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_retry = new QPushButton(caption(captions::kPrintAgain), this);
    m_retry->setObjectName(QStringLiteral("printAgain"));
    m_retry->hide();
    connect(m_retry, &QPushButton::clicked, this, [this] { m_session.print_failed_again(); });
    auto* status_row = new QHBoxLayout;
    status_row->addWidget(m_status, 1);
    status_row->addWidget(m_retry);
    layout->addLayout(status_row);
    setTabOrder(m_previous, m_next);
    setTabOrder(m_next, m_print);
    setTabOrder(m_print, m_more);
    setTabOrder(m_more, m_text);
    add_keys();
}

QLayout* Form2::build_button_row() {
    const QFont button_font = design_font(QStringLiteral("MS Sans Serif"), 8.25, true);
    m_previous = new KeyButton(caption(captions::kPreviousPage), this);
    m_previous->setObjectName(QStringLiteral("previousPage"));
    m_next = new KeyButton(caption(captions::kStart), this);
    m_next->setObjectName(QStringLiteral("Command1"));
    m_next->setMinimumWidth(twips_to_pixels_x(2175));
    m_print = new KeyButton(caption(captions::kPrintFirstPage), this);
    m_print->setObjectName(QStringLiteral("Command2"));
    m_print->setMinimumWidth(twips_to_pixels_x(1575));
    m_more = new QToolButton(this);
    m_more->setObjectName(QStringLiteral("printMore"));
    m_more->setText(caption(captions::kMorePrinting));
    m_more->setPopupMode(QToolButton::InstantPopup);
    m_more->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto* row = new QHBoxLayout;
    for (QWidget* button : {static_cast<QWidget*>(m_previous), static_cast<QWidget*>(m_next),
                            static_cast<QWidget*>(m_print), static_cast<QWidget*>(m_more)}) {
        button->setFont(button_font);
        row->addWidget(button);
    }
    row->addStretch(1);
    add_print_menu();
    add_zoom_buttons(row);
    connect(m_previous, &QPushButton::clicked, this, &Form2::previous_page);
    connect(m_next, &QPushButton::clicked, this, &Form2::next_page);
    connect(m_print, &QPushButton::clicked, this, &Form2::print_this_page);
    return row;
}

void Form2::add_print_menu() {
    auto* menu = new QMenu(m_more);
    menu->setObjectName(QStringLiteral("printMoreMenu"));
    const struct {
        const char* name;
        const char* text;
        void (Form2::*handler)();
    } items[] = {
        {"printAll", captions::kPrintAll, &Form2::print_all},
        {"printRange", captions::kPrintRange, &Form2::print_range},
        {"printOnView", captions::kPrintOnView, &Form2::print_on_view},
    };
    for (const auto& item : items) {
        QAction* action = menu->addAction(caption(item.text));
        action->setObjectName(QString::fromLatin1(item.name));
        connect(action, &QAction::triggered, this, item.handler);
    }
    // Pages other than the one on view are read again from the file.
    m_print_all = menu->findChild<QAction*>(QStringLiteral("printAll"));
    m_print_range = menu->findChild<QAction*>(QStringLiteral("printRange"));
    m_more->setMenu(menu);
}

void Form2::add_zoom_buttons(QLayout* row) {
    auto* group = new QButtonGroup(this);
    const struct {
        const char* name;
        const char* text;
        PageView::Zoom zoom;
    } zooms[] = {
        {"zoomFitPage", captions::kFitPage, PageView::Zoom::FitPage},
        {"zoomFitWidth", captions::kFitWidth, PageView::Zoom::FitWidth},
        {"zoomActualSize", captions::kActualSize, PageView::Zoom::ActualSize},
    };
    for (const auto& zoom : zooms) {
        auto* button = new QToolButton(this);
        button->setObjectName(QString::fromLatin1(zoom.name));
        button->setText(caption(zoom.text));
        button->setCheckable(true);
        button->setChecked(zoom.zoom == m_page_view->zoom());
        group->addButton(button);
        row->addWidget(button);
        const PageView::Zoom chosen = zoom.zoom;
        connect(button, &QToolButton::clicked, this,
                [this, chosen] { m_page_view->set_zoom(chosen); });
    }
}

QWidget* Form2::build_views() {
    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setObjectName(QStringLiteral("pageSplitter"));
    splitter->setChildrenCollapsible(false);

    auto* text_side = new QWidget(splitter);
    auto* text_layout = new QVBoxLayout(text_side);
    text_layout->setContentsMargins(0, 0, 0, 0);
    text_layout->addWidget(view_caption("textViewCaption", captions::kTextView, text_side));
    m_text = new QPlainTextEdit(text_side);
    m_text->setObjectName(QStringLiteral("Text1"));
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // What is printed is the page as read, never edits: the box only shows
    // it, and its text can still be selected and copied.
    m_text->setReadOnly(true);
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_text->setTabChangesFocus(true);
    m_text->setToolTip(caption(captions::kTextView));
    text_layout->addWidget(m_text, 1);

    auto* page_side = new QWidget(splitter);
    auto* page_layout = new QVBoxLayout(page_side);
    page_layout->setContentsMargins(0, 0, 0, 0);
    page_layout->addWidget(view_caption("pageViewCaption", captions::kPageView, page_side));
    m_page_view = new PageView(page_side);
    m_page_view->setObjectName(QStringLiteral("pageView"));
    page_layout->addWidget(m_page_view, 1);

    splitter->addWidget(text_side);
    splitter->addWidget(page_side);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 1);
    return splitter;
}

void Form2::add_keys() {
    const auto press = [](QPushButton* button) {
        if (button->isVisible() && button->isEnabled()) {
            button->click();
        }
    };
    auto* next = new QShortcut(QKeySequence(Qt::Key_PageDown), this);
    connect(next, &QShortcut::activated, this, [this, press] { press(m_next); });
    auto* previous = new QShortcut(QKeySequence(Qt::Key_PageUp), this);
    connect(previous, &QShortcut::activated, this, [this, press] { press(m_previous); });
    auto* print = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_P), this);
    connect(print, &QShortcut::activated, this, [this, press] { press(m_print); });
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
}

void Form2::Command2_text() {
    m_print->setText(QString::fromStdString(print_page_caption(m_session)));
}

void Form2::show_job() {
    if (m_closing) {
        return;
    }
    if (!m_session.has_job() || !m_session.prepare_view()) {
        show_no_job();
        return;
    }
    const PrintJob& j = job();
    setWindowTitle(QFile::decodeName(m_session.report_file_name().c_str()));
    m_text->setPlaceholderText(QString());
    show_page();
    if (j.FontSize > 0) {
        QFont text_font = m_text->font();
        text_font.setPointSize(j.FontSize);
        m_text->setFont(text_font);
    }
    update_buttons();
}

void Form2::show_page() {
    const std::optional<std::string> page = m_session.take_page_for_screen();
    m_text->setPlainText(page_display_text(page.value_or(std::string())));
    if (!page) {
        m_page_view->clear();
        return;
    }
    m_page_view->set_page(m_session.page_as_printed());
}

void Form2::show_no_job() {
    setWindowTitle(caption(captions::kMainTitle));
    m_text->clear();
    m_text->setPlaceholderText(QString::fromStdString(m_session.drop_reason()));
    m_page_view->clear();
    update_buttons();
}

// Pages a printer failed after the preview moved on are one press away.
void Form2::show_failed_pages() {
    const std::optional<PageRange>& failed = m_session.failed_pages();
    m_retry->setVisible(failed.has_value());
    if (failed) {
        m_retry->setText(caption(captions::kPrintAgain) +
                         QString::fromStdString(pages_caption(*failed)));
    }
}

void Form2::previous_page() {
    if (m_session.step_back()) {
        show_page();
        update_buttons();
    }
}

void Form2::update_buttons() {
    const PreviewControls controls = preview_controls(m_session);
    m_previous->setEnabled(controls.previous_enabled);
    m_next->setEnabled(controls.next_enabled);
    m_print->setEnabled(controls.print_enabled);
    m_more->setEnabled(controls.more_enabled);
    if (controls.print_all_enabled) {
        m_print_all->setEnabled(*controls.print_all_enabled);
    }
    if (controls.print_range_enabled) {
        m_print_range->setEnabled(*controls.print_range_enabled);
    }
    if (controls.next_caption) {
        m_next->setText(QString::fromStdString(*controls.next_caption));
    }
    if (controls.print_shown) {
        m_print->setVisible(*controls.print_shown);
    }
    if (controls.print_caption) {
        m_print->setText(QString::fromStdString(*controls.print_caption));
    }
}

void Form2::next_page() {
    switch (m_session.step_on()) {
    case PrintSession::Stepped::Stopped:
        return; // the job was dropped and the view says why
    case PrintSession::Stepped::AllShown:
        close();
        return;
    case PrintSession::Stepped::OnView:
        show_page();
        update_buttons();
        return;
    }
}

void Form2::print_this_page() {
    // A page the printer refused stays on view, to be printed again; so does
    // the first page of a report that changed under the window.
    if (m_session.print_page_on_view()) {
        next_page();
    }
}

void Form2::print_all() {
    m_session.print_pages(1, m_session.page_total());
}

void Form2::print_range() {
    if (const std::optional<PageRange> range =
            ask_page_range(this, m_session.proposed_range(), m_session.page_total())) {
        m_session.print_pages(*range);
    }
}

void Form2::print_on_view() {
    m_session.print_page_on_view();
}

// Back at the window, the user may have had the DOS program write the report
// anew: what is shown must be what prints.
bool Form2::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && !m_closing) {
        m_session.check_source();
    }
    return QWidget::event(event);
}

void Form2::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_focus_placed) {
        return;
    }
    m_focus_placed = true;
    // Space or Enter at once prints the page on view; the focus shows.
    (m_print->isHidden() ? static_cast<QWidget*>(m_next) : m_print)->setFocus(Qt::TabFocusReason);
    setAttribute(Qt::WA_KeyboardFocusChange);
}

void Form2::closeEvent(QCloseEvent* event) {
    if (!m_closing) {
        m_closing = true;
        unsetCursor();
        m_session.end_viewing();
    }
    QWidget::closeEvent(event);
}

} // namespace kvalon
