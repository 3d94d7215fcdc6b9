#pragma once

#include <QWidget>

class QPlainTextEdit;
class QPushButton;

namespace kvalon {

// The page preview: shows the job's pages one at a time as read_page delivers
// them, prints the page on view (Command2) or steps on (Command1), and closes
// itself after the last page. It keeps no page position of its own: the job
// record and the open source file hold it, so a preview opened again goes on
// with the next unread page. Deleted when closed.
class Form2 final : public QWidget {
    Q_OBJECT
public:
    explicit Form2(QWidget* parent = nullptr);

    // Command2's caption: "Печат стр. " and the page number (1 before the first
    // page) over the planned page count.
    void Command2_text();

    // The menu has closed the source under this window (another file chosen):
    // the buttons go dark instead of reading a closed file.
    void drop_job();
    bool has_job() const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void build_controls();
    void load();
    void next_page();
    void print_this_page();
    // Reads the next page; false (and the buttons dark) when it cannot.
    bool read_next_page();
    void show_page();
    void take_edit();

    QPlainTextEdit* m_text = nullptr;
    QPushButton* m_next = nullptr;
    QPushButton* m_print = nullptr;
    bool m_has_job = true;
};

} // namespace kvalon
