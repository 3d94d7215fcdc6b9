#pragma once

#include "engine/code_page.h"
#include "ui/menu_session.h"
#include "ui/qt/about_window.h"
#include "ui/qt/preview_window.h"
#include "ui/user_settings.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>
#include <string>

class QAction;
class QLabel;
class QMenu;
class QPushButton;

namespace kvalon {

class ChoiceMenu;
class Destination;
class CodePageMenu;
class PrintDataFrame;
class PrinterBinding;
class WindowPlaces;

// The menu window: choose a report ("Избор", Ctrl+O, or dropped on the
// window), which plans it, shows its print data and opens the preview; reopen
// the preview ("Печат") beside it; pick the printer and how reports are read
// (the language, the code page, a report's page on one sheet, the printer's
// form length); the About window; end. A status line tells
// what became of the pages printed. Closing it closes every other window,
// which ends the program. What it does is ui/menu_session.h's; this is its
// Qt view.
class Form_menu final : public QMainWindow {
    Q_OBJECT
public:
    // The printer is picked from the windows through `binding`.
    explicit Form_menu(PrinterBinding& binding, QWidget* parent = nullptr);
    ~Form_menu() override;

    // Whether the preview, shown for a report, takes the keyboard: it does
    // for a report chosen, not for one planned again after a choice in the
    // menu window.
    enum class PreviewFocus { Take, Keep };
    // Takes the report at `path` as if the file dialog had returned it.
    void open_report(const std::string& path, PreviewFocus focus = PreviewFocus::Take);

    Form2* preview() const { return m_preview; }
    Form1* about() const { return m_about; }
    PrintSession& session() { return m_menu.print_session(); }

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void build_menu();
    void add_menu_keys();
    void add_switch(QAction*& action, const char* name, const char* caption, bool on,
                    void (MenuSession::*set)(bool));
    void add_code_page_menu();
    void add_reading_menus();
    void plan_again();
    void build_status_line();

    void choose_file();
    void choose_printer(std::shared_ptr<const Destination> destination);
    void show_offset_dialog();
    void show_history();
    void fill_print_data();
    void show_no_file_chosen();
    void show_preview(PreviewFocus focus);
    void add_choose_key(QWidget* window);
    void show_about();
    void open_file_menu();
    void show_status(const QString& text);

    UserSettings m_settings;
    MenuSession m_menu;
    Listeners<std::string>::Subscription m_status_shown;
    Listeners<std::string>::Subscription m_session_status_shown;
    Listeners<>::Subscription m_job_shown;
    QMenu* m_file_menu = nullptr;
    QAction* m_print = nullptr;
    QAction* m_fit_pages = nullptr;
    PrintDataFrame* m_frame = nullptr;
    QLabel* m_hint = nullptr;
    QLabel* m_status = nullptr;
    QPushButton* m_escp_offer = nullptr;
    QPushButton* m_code_page_offer = nullptr;
    CodePageMenu* m_code_pages = nullptr;
    ChoiceMenu* m_languages = nullptr;
    WindowPlaces* m_places = nullptr;
    QPointer<Form2> m_preview;
    QPointer<Form1> m_about;
};

} // namespace kvalon
