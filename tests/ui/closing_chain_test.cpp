#include "startup/desktop/desktop_program.h"

#include "engine/print_job.h"
#include "tests/support/pdf_tools.h"
#include "tests/support/test_files.h"
#include "tests/ui/window_fixture.h"
#include "ui/qt/file_dialog.h"
#include "ui/qt/menu_window.h"
#include "ui/qt/message_box.h"
#include "ui/qt/path_label.h"
#include "ui/qt/window_loop.h"

#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

namespace kvalon::testing {
namespace {

// Sets environment variables for one test and puts the old values back.
class ScopedEnvironment {
public:
    void set(const char* name, const std::string& value) {
        const char* old = std::getenv(name);
        m_saved.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnvironment() {
        for (const auto& [name, value] : m_saved) {
            value ? setenv(name, value->c_str(), 1) : unsetenv(name);
        }
    }

private:
    std::vector<std::pair<const char*, std::optional<std::string>>> m_saved;
};

struct ChainSeen {
    bool preview_opened = false;
    int pages_read = 0;
    int windows_left = -1;
    bool pdf_at_close = false;
    bool watchdog_fired = false;
    std::string cancel_button;
    std::string ok_button;
    std::string report_shown;
    std::string first_line;
};

// The program as the desktop starts it: a home, settings and fonts of the
// test's own, the PDF printer, and a system language other than Bulgarian.
void isolate(ScopedEnvironment& environment, const TempDir& dir, const std::string& pdf) {
    environment.set("KVALON_PDF", pdf);
    environment.set("HOME", dir.path());
    environment.set("XDG_DATA_HOME", dir.file("data"));
    environment.set("XDG_CONFIG_HOME", dir.file("config"));
    environment.set("LANG", "C");
    environment.set("LC_ALL", "en_US.UTF-8");
}

int visible_windows() {
    int count = 0;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        count += widget->isVisible();
    }
    return count;
}

// The whole program without a command line: choose a report, print its first
// page from the preview, close the menu window while the preview is open. The
// page goes out as the preview closes, not when the program ends.
TEST(ClosingChain, ClosingTheMenuEndsTheProgramAndHandsOverThePrintedPages) {
    TempDir dir;
    const std::string pdf = dir.file("out.pdf");
    std::string report_text;
    for (int line = 1; line <= 300; ++line) {
        report_text += "Ред " + std::to_string(1000 + line) + "\r\n";
    }
    write_bytes(dir.file("REPORT.TXT"), to_mik(report_text));

    ScopedEnvironment environment;
    isolate(environment, dir, pdf);
    std::vector<std::string> told;
    set_message_seam([&told](const std::string& text) { told.push_back(text); });
    set_file_dialog_seam([&dir](const std::string&) { return dir.file("REPORT.TXT"); });

    ChainSeen seen;
    set_menu_window_seam([&seen, &pdf](Form_menu& menu) {
        QTimer::singleShot(0, &menu, [&seen, &pdf, &menu] {
            // Qt's own dialogs speak Bulgarian.
            seen.cancel_button =
                QCoreApplication::translate("QPlatformTheme", "Cancel").toStdString();
            seen.ok_button = make_message_box("?")->buttons().constFirst()->text().toStdString();
            menu.findChild<QAction*>(QStringLiteral("Izb_f"))->trigger();
            QCoreApplication::processEvents();
            Form2* preview = menu.preview();
            seen.preview_opened = preview != nullptr && preview->isVisible();
            if (preview != nullptr) {
                QTest::mouseClick(preview->findChild<QPushButton*>(QStringLiteral("Command2")),
                                  Qt::LeftButton);
            }
            seen.pages_read = job().PageNumber;
            preview->close();
            seen.pdf_at_close = file_exists(pdf);
            menu.close();
            seen.windows_left = visible_windows();
        });
        QTimer::singleShot(30000, qApp, [&seen] {
            seen.watchdog_fired = true;
            QApplication::exit(1);
        });
    });

    char program_name[] = "kvalon-p";
    char* argv[] = {program_name, nullptr};
    const int status = kvalon::run_desktop_program(1, argv);
    set_menu_window_seam(nullptr);
    set_file_dialog_seam(nullptr);
    set_message_seam(nullptr);
    reset_job();

    EXPECT_FALSE(seen.watchdog_fired);
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(seen.preview_opened);
    EXPECT_EQ(seen.cancel_button, "Отказ");
    EXPECT_EQ(seen.ok_button, "Добре");
    EXPECT_EQ(seen.pages_read, 2);
    EXPECT_EQ(seen.windows_left, 0);
    EXPECT_TRUE(seen.pdf_at_close);
    ASSERT_TRUE(file_exists(pdf));
    EXPECT_EQ(pdf_pages(pdf), 1);
    EXPECT_NE(page_text(pdf, 1).find("Ред 1001"), std::string::npos);
    EXPECT_NE(page_text(pdf, 1).find("фактуриране"), std::string::npos);
    EXPECT_EQ(page_text(pdf, 1).find("Ред 1300"), std::string::npos);
}

// "Open with" from a file manager: the windows open with the report chosen,
// planned and on page 1; nothing is printed without the user.
TEST(ClosingChain, OpenWithShowsTheReportAndPrintsNothing) {
    TempDir dir;
    const std::string pdf = dir.file("out.pdf");
    const std::string report = dir.file("ОТЧЕТ.TXT");
    write_bytes(report, to_mik("Ред 1\r\nРед 2\r\n"));
    ScopedEnvironment environment;
    isolate(environment, dir, pdf);
    std::vector<std::string> told;
    set_message_seam([&told](const std::string& text) { told.push_back(text); });

    ChainSeen seen;
    set_menu_window_seam([&seen](Form_menu& menu) {
        QTimer::singleShot(0, &menu, [&seen, &menu] {
            Form2* preview = menu.preview();
            seen.preview_opened = preview != nullptr && preview->isVisible();
            seen.pages_read = job().PageNumber;
            seen.report_shown =
                menu.findChild<PathLabel*>(QStringLiteral("Label2"))->path().toStdString();
            if (preview != nullptr) {
                seen.first_line = preview->findChild<QPlainTextEdit*>(QStringLiteral("Text1"))
                                      ->toPlainText()
                                      .trimmed()
                                      .toStdString();
            }
            menu.close();
        });
    });
    char program_name[] = "kvalon-p";
    char open_option[] = "--open";
    std::string report_argument = report;
    char* argv[] = {program_name, open_option, report_argument.data(), nullptr};
    const int status = kvalon::run_desktop_program(3, argv);
    set_menu_window_seam(nullptr);
    set_message_seam(nullptr);
    reset_job();

    EXPECT_EQ(status, 0);
    EXPECT_TRUE(seen.preview_opened);
    EXPECT_EQ(seen.pages_read, 1);
    EXPECT_EQ(seen.report_shown, report);
    EXPECT_EQ(seen.first_line.substr(0, seen.first_line.find('\n')), "Ред 1");
    EXPECT_FALSE(file_exists(pdf));

    // The desktop entry opens the windows; it never prints at once.
    const std::string entry = read_bytes(source_dir() + "/packaging/kvalon-p.desktop");
    EXPECT_NE(entry.find("\nExec=kvalon-p --open %f\n"), std::string::npos);
}

// The desktop's applications menu runs the entry without a file: the menu
// window opens with no report chosen, ready for one.
TEST(ClosingChain, OpenWithoutAFileOpensTheMenuWindow) {
    TempDir dir;
    ScopedEnvironment environment;
    isolate(environment, dir, dir.file("out.pdf"));
    std::vector<std::string> told;
    set_message_seam([&told](const std::string& text) { told.push_back(text); });
    ChainSeen seen;
    set_menu_window_seam([&seen](Form_menu& menu) {
        QTimer::singleShot(0, &menu, [&seen, &menu] {
            seen.windows_left = visible_windows();
            seen.preview_opened = menu.preview() != nullptr;
            menu.close();
        });
    });
    char program_name[] = "kvalon-p";
    char open_option[] = "--open";
    char* argv[] = {program_name, open_option, nullptr};
    const int status = kvalon::run_desktop_program(2, argv);
    set_menu_window_seam(nullptr);
    set_message_seam(nullptr);
    reset_job();

    EXPECT_EQ(status, 0);
    EXPECT_EQ(seen.windows_left, 1);
    EXPECT_FALSE(seen.preview_opened);
}

// Started from a desktop, nobody reads standard error: a start-up failure is
// shown in a message box too.
TEST(ClosingChain, StartUpFailureOnADesktopIsShownInAMessageBox) {
    ScopedEnvironment environment;
    environment.set("DISPLAY", ":0");
    std::vector<std::string> told;
    set_message_seam([&told](const std::string& text) { told.push_back(text); });
    char program_name[] = "kvalon-p";
    char unknown_option[] = "--colour";
    char* argv[] = {program_name, unknown_option, nullptr};
    const int status = kvalon::run_desktop_program(2, argv);
    set_message_seam(nullptr);

    EXPECT_EQ(status, 2);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0], "Неправилна опция в командния ред: --colour");
}

} // namespace
} // namespace kvalon::testing
