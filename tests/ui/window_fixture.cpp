#include "tests/ui/window_fixture.h"

#include "engine/plan_layout.h"
#include "engine/print_job.h"
#include "engine/printer_language.h"
#include "engine/printer_surface.h"
#include "engine/source_file.h"
#include "printing/pdf/pdf_destination.h"
#include "tests/support/pdf_tools.h"
#include "ui/print_session.h"
#include "ui/qt/file_dialog.h"
#include "ui/qt/menu_window.h"
#include "ui/qt/message_box.h"
#include "ui/qt/page_range_dialog.h"
#include "ui/qt/qt_window_services.h"

#include <QAbstractButton>
#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QFontDatabase>
#include <QPointer>
#include <QSettings>

#include <cstdio>
#include <filesystem>

namespace kvalon::testing {

namespace {
int app_argc = 1;
char app_name[] = "ui_tests";
char* app_argv[] = {app_name, nullptr};

// The program makes the font delivered beside it usable at every start, so
// the windows print in CourierCyr on a first run too. The tests do the same
// rather than depend on a copy an earlier run left in the user's fonts folder
// (a fresh machine has none, and the fallback face has other metrics).
void register_program_font() {
    if (QFontDatabase::families().contains(QStringLiteral("CourierCyr"))) {
        return;
    }
    const std::filesystem::path font =
        std::filesystem::path(kvalon_binary()).parent_path() / "crcn.ttf";
    ASSERT_GE(QFontDatabase::addApplicationFont(QString::fromStdString(font.string())), 0) << font;
}

} // namespace

std::string UiTest::line_label(int n) {
    char number[16];
    std::snprintf(number, sizeof number, "%03d", n);
    return "Ред " + std::string(number);
}

void UiTest::SetUp() {
    app = std::make_unique<QApplication>(app_argc, app_argv);
    register_program_font();
    QCoreApplication::setOrganizationName(QStringLiteral("kvalon-p"));
    QCoreApplication::setApplicationName(QStringLiteral("kvalon-p"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString(dir.file("config")));
    reset_job();
    job().ParamList.assign(4, std::string());
    choose_language(job(), LanguageChoice::Auto);
    job().FontFace = "CourierCyr";
    job().FontFileName = "crcn.ttf";
    binding = std::make_unique<PrinterBinding>();
    bind_pdf(pdf());
    set_message_seam([this](const std::string& text) { messages.push_back(text); });
    set_file_dialog_seam([this](const std::string& folder) {
        dialog_folders.push_back(folder);
        if (m_answers.empty()) {
            ADD_FAILURE() << "file dialog opened without an answer";
            return std::string();
        }
        std::string answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    });
}

void UiTest::TearDown() {
    QList<QPointer<QWidget>> windows;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->parentWidget() == nullptr) {
            windows.append(widget);
        }
    }
    for (const QPointer<QWidget>& widget : windows) {
        delete widget.data();
    }
    settle();
    m_session.reset();
    set_file_dialog_seam(nullptr);
    set_question_seam(nullptr);
    set_save_dialog_seam(nullptr);
    set_page_range_seam(nullptr);
    set_message_seam(nullptr);
    reset_job();
    binding.reset();
    set_printer(nullptr);
    app.reset();
}

void UiTest::bind_pdf(const std::string& path, int paper_code) {
    binding->bind(std::make_shared<PdfDestination>(path, paper_code));
}

PrintSession& UiTest::session() {
    if (!m_session) {
        m_session = std::make_unique<PrintSession>(*binding, qt_window_services());
    }
    return *m_session;
}

Form_menu* UiTest::open_menu() {
    auto* menu = new Form_menu(*binding);
    menu->show();
    return menu;
}

void UiTest::choose(Form_menu* menu, const std::string& path) {
    answer_dialog(path);
    menu->findChild<QAction*>(QStringLiteral("Izb_f"))->trigger();
    settle();
}

std::string UiTest::caption_of(const QWidget* button) {
    const auto* pressable = qobject_cast<const QAbstractButton*>(button);
    return pressable ? pressable->text().remove(QLatin1Char('&')).toStdString() : std::string();
}

std::string UiTest::write_report(const std::string& name, int lines) {
    const std::string path = dir.file(name);
    std::string text;
    for (int line = 1; line <= lines; ++line) {
        text += line_label(line) + "\r\n";
    }
    write_bytes(path, to_mik(text));
    return path;
}

int UiTest::lines_per_page() {
    const std::string probe = write_report("probe.txt", 1);
    job().SourcePath = probe;
    plan_layout();
    const int lines = job().LinesPerPage;
    source_file().close();
    job().SourcePath.clear();
    return lines;
}

std::string UiTest::write_report_of_pages(const std::string& name, int pages) {
    return write_report(name, (pages - 1) * lines_per_page() + 1);
}

QWidget* UiTest::window(const char* name) {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && widget->objectName() == QLatin1String(name)) {
            return widget;
        }
    }
    return nullptr;
}

void UiTest::settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

std::string page_text(const std::string& pdf, int page) {
    std::string text;
    for (const PdfWord& word : pdf_words(pdf)) {
        if (word.page == page) {
            text += (text.empty() ? "" : " ") + word.text;
        }
    }
    return text;
}

} // namespace kvalon::testing
