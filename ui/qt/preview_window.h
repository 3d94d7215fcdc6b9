#pragma once

#include "ui/listeners.h"
#include "ui/qt/page_view.h"

#include <QWidget>

#include <string>

class QAction;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

namespace kvalon {

class KeyButton;
class PrintSession;

// The page preview: beside the page's text it shows the page exactly as it
// will print, steps through the job's pages as read_page delivers them,
// prints the page on view and steps on (Command2), or steps on (Command1);
// more printing: all pages, a range, the page on view without stepping.
// What it does is the session's (ui/print_session.h, ui/preview_controls.h),
// where the pages go too; the status line under the page tells what became
// of them. Before any print and
// whenever the window becomes active again the report's file is checked: a
// changed report is shown afresh from its first page. The page position lives
// in the job, so a preview opened again shows the page that was on view.
// Deleted when closed.
class Form2 final : public QWidget {
    Q_OBJECT
public:
    explicit Form2(PrintSession& session, QWidget* parent = nullptr);

    // Command2's caption: "Печат стр. " and the page number over the number
    // of pages the report prints.
    void Command2_text();

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void build_controls();
    QLayout* build_button_row();
    QWidget* build_views();
    void add_print_menu();
    void add_zoom_buttons(QLayout* row);
    void add_keys();

    // Shows the session's job: the page on view, or why there is none.
    void show_job();
    void show_page();
    void show_no_job();
    void update_buttons();
    void next_page();
    void previous_page();
    void show_failed_pages();
    void print_this_page();
    void print_all();
    void print_range();
    void print_on_view();

    PrintSession& m_session;
    QPlainTextEdit* m_text = nullptr;
    PageView* m_page_view = nullptr;
    KeyButton* m_previous = nullptr;
    KeyButton* m_next = nullptr;
    KeyButton* m_print = nullptr;
    QToolButton* m_more = nullptr;
    QAction* m_print_all = nullptr;
    QAction* m_print_range = nullptr;
    QLabel* m_status = nullptr;
    QPushButton* m_retry = nullptr;
    bool m_focus_placed = false;
    bool m_closing = false;
    Listeners<>::Subscription m_job_shown;
    Listeners<>::Subscription m_failed_shown;
    Listeners<std::string>::Subscription m_status_shown;
};

} // namespace kvalon
