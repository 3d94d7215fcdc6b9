#pragma once

#include "engine/printer_surface.h"
#include "printing/printer_binding.h"
#include "tests/support/test_files.h"

#include <QApplication>
#include <QWidget>

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace kvalon {
class Form_menu;
class PrintSession;
} // namespace kvalon

namespace kvalon::testing {

// The windows on the offscreen platform with the built-in PDF printer bound,
// a fresh job as start-up leaves it, the user's settings in a folder of the
// test's own, and the file dialog and the message box answered by the test.
class UiTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The next answers of the file dialog, in order; the start folders it was
    // opened in are kept in `dialog_folders`.
    void answer_dialog(const std::string& path) { m_answers.push_back(path); }

    // A report in MIK of `lines` lines "Ред 001", "Ред 002", ...; line_label(n)
    // is line n in UTF-8.
    static std::string line_label(int n);
    std::string write_report(const std::string& name, int lines);
    // A report that the current printer prints on exactly `pages` pages.
    std::string write_report_of_pages(const std::string& name, int pages);
    // The lines per page the current printer gives short-lined reports.
    int lines_per_page();

    // The visible top-level window of that name, or nullptr.
    static QWidget* window(const char* name);
    template <class T> static T* control(const char* window_name, const char* name) {
        QWidget* owner = window(window_name);
        return owner ? owner->findChild<T*>(QString::fromLatin1(name)) : nullptr;
    }
    // Runs deferred deletions, so closed windows are gone.
    static void settle();
    // The menu window on screen, printing through `binding`.
    Form_menu* open_menu();
    // "Избор" in the menu answered with `path` ("" cancels).
    void choose(Form_menu* menu, const std::string& path);
    // A button's caption without its access-key mark.
    static std::string caption_of(const QWidget* button);

    std::string pdf() const { return dir.file("out.pdf"); }
    // Binds the PDF printer writing `path` on paper `paper_code`.
    void bind_pdf(const std::string& path, int paper_code = 9);

    // A session of the test's own, printing through `binding`, for a preview
    // opened without the menu window.
    PrintSession& session();

    TempDir dir;
    std::unique_ptr<QApplication> app;
    std::unique_ptr<PrinterBinding> binding;
    std::vector<std::string> messages;
    std::vector<std::string> dialog_folders;

private:
    std::deque<std::string> m_answers;
    std::unique_ptr<PrintSession> m_session;
};

// Text of all words of one page of a PDF, in reading order, blank-separated.
std::string page_text(const std::string& pdf, int page);

} // namespace kvalon::testing
