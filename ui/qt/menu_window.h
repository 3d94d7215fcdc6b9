#pragma once

#include "engine/code_page.h"
#include "ui/print_session.h"
#include "ui/qt/about_window.h"
#include "ui/qt/preview_window.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <memory>
#include <string>

class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;

namespace kvalon {

class PathLabel;
class PrinterBinding;
class Destination;

// The menu window: choose a report ("Избор", Ctrl+O, or dropped on the
// window), which plans it, shows its print data and opens the preview; reopen
// the preview ("Печат"); pick the printer and how reports are read (ESC/P,
// a report's page on one sheet); the About window; end. A status line tells
// what became of the pages printed. Closing it closes every other window,
// which ends the program.
class Form_menu final : public QMainWindow {
    Q_OBJECT
public:
    // The printer is picked from the windows through `binding`.
    explicit Form_menu(PrinterBinding& binding, QWidget* parent = nullptr);
    ~Form_menu() override;

    // Takes the report at `path` as if the file dialog had returned it.
    void open_report(const std::string& path);

    Form2* preview() const { return m_preview; }
    Form1* about() const { return m_about; }
    PrintSession& session() { return m_session; }

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void build_menu();
    void add_menu_keys();
    void add_escp_switch();
    void switch_escp_mode(bool on);
    void add_code_page_menu();
    void choose_code_page(const CodePageChoice& choice);
    void show_told_code_page();
    void plan_again();
    void add_fit_pages_switch();
    void switch_fit_pages(bool on);
    void build_frame();
    void build_status_line();
    QLabel* add_row_label(QLabel* label, const char* name, const QString& text, int left, int top,
                          int width);

    void choose_file();
    void choose_printer(std::shared_ptr<const Destination> destination);
    void fill_print_data();
    void show_printer_name();
    void show_job_settings();
    void show_no_file_chosen();
    void show_preview();
    void show_about();
    void open_file_menu();
    void show_status(const QString& text);
    void offer_escp_mode(const std::string& report);

    PrinterBinding& m_binding;
    PrintSession m_session;
    QMenu* m_file_menu = nullptr;
    QAction* m_print = nullptr;
    QAction* m_escp = nullptr;
    QGroupBox* m_frame = nullptr;
    QLabel* m_hint = nullptr;
    QLabel* m_status = nullptr;
    QPushButton* m_escp_offer = nullptr;
    // Value labels: printer, file, font, size, characters, lines, orientation,
    // paper size, paper name, what the queue is told, the way the report is read.
    std::array<QLabel*, 11> m_titles{};
    std::array<QLabel*, 11> m_values{};
    QPointer<Form2> m_preview;
    QPointer<Form1> m_about;
};

} // namespace kvalon
