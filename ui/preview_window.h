#pragma once

#include "ui/page_view.h"

#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QToolButton;

namespace kvalon {

class KeyButton;
class PrintSession;

// The page preview: beside the page's text it shows the page exactly as it
// will print, steps through the job's pages as read_page delivers them,
// prints the page on view and steps on (Command2), or steps on (Command1);
// more printing (all pages, a range, the page on view alone) goes out as one
// document per press. The page position lives in the job, so a preview opened
// again shows the page that was on view. When the pages run out or the window
// closes, the pages it printed go to the printer at once. Deleted when closed.
class Form2 final : public QWidget {
    Q_OBJECT
public:
    explicit Form2(PrintSession& session, QWidget* parent = nullptr);

    // Command2's caption: "Печат стр. " and the page number over the planned
    // page count, or the number alone once the report has more pages than
    // planned (form feeds start pages of their own).
    void Command2_text();

protected:
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
    void print_this_page();
    void print_all();
    void print_range();
    void print_on_view();

    PrintSession& m_session;
    QPlainTextEdit* m_text = nullptr;
    PageView* m_page_view = nullptr;
    KeyButton* m_next = nullptr;
    KeyButton* m_print = nullptr;
    QToolButton* m_more = nullptr;
    bool m_focus_placed = false;
    bool m_closing = false;
};

} // namespace kvalon
