#pragma once

#include "ui/form1.h"
#include "ui/form2.h"

#include <QMainWindow>
#include <QPointer>

#include <array>

class QAction;
class QGroupBox;
class QLabel;

namespace kvalon {

// The menu window: choose a report ("Избор"), which plans it, shows its print
// data and opens the preview; reopen the preview ("Печат"); the About window;
// end. Closing it closes every other window, which ends the program.
class Form_menu final : public QMainWindow {
    Q_OBJECT
public:
    explicit Form_menu(QWidget* parent = nullptr);
    ~Form_menu() override;

    Form2* preview() const { return m_preview; }
    Form1* about() const { return m_about; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void build_menu();
    void build_frame();
    QLabel* add_row_label(const char* name, const QString& text, int left, int top, int width);

    void choose_file();
    // Plans job().SourcePath; false (with the message shown) when it cannot.
    bool plan_chosen_file();
    void fill_print_data();
    void show_no_file_chosen();
    // Ends the job's source; pages it printed go to the printer as one
    // document, so the next job does not join them.
    void close_source();
    // Ends the job under the windows: its source closes and an open preview
    // stops stepping.
    void drop_job();
    void show_preview();
    void show_about();

    QAction* m_print = nullptr;
    QGroupBox* m_frame = nullptr;
    // Value labels: printer, file, font, size, characters, lines, orientation,
    // paper size, paper name.
    std::array<QLabel*, 9> m_values{};
    QPointer<Form2> m_preview;
    QPointer<Form1> m_about;
};

} // namespace kvalon
