#include "tests/ui/window_fixture.h"

#include "ui/print_session.h"
#include "ui/qt/menu_window.h"

#include <QAction>
#include <QPixmap>
#include <QPushButton>
#include <QTest>

#include <cstdlib>
#include <filesystem>

namespace kvalon::testing {
namespace {

// Pictures of the three windows for the README, written into the folder
// KVALON_SCREENSHOT_DIR names. Not a test: scripts/screenshots.sh builds this
// program on its own and runs it under a virtual X server.
class Screenshots : public UiTest {
protected:
    void SetUp() override {
        const char* folder = std::getenv("KVALON_SCREENSHOT_DIR");
        ASSERT_TRUE(folder != nullptr && *folder != '\0')
            << "KVALON_SCREENSHOT_DIR names no folder to write the pictures to";
        m_folder = folder;
        UiTest::SetUp();
    }
    void save(const char* window_name, const char* file) {
        QWidget* shown = window(window_name);
        ASSERT_NE(shown, nullptr) << window_name;
        ASSERT_TRUE(QTest::qWaitForWindowExposed(shown));
        QTest::qWait(200);
        const QString path = QString::fromStdString(m_folder + "/" + file);
        ASSERT_TRUE(shown->grab().save(path, "PNG")) << path.toStdString();
    }

    std::string m_folder;
};

TEST_F(Screenshots, ThreeWindows) {
    // Paths a user would have, not the test's temporary ones.
    const std::string folder = "/tmp/kvalon-screenshots";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const std::string report = folder + "/SKLAD.TXT";
    std::filesystem::copy_file(source_dir() + "/samples/sample-report.txt", report);
    bind_pdf(folder + "/SKLAD.pdf");

    Form_menu* menu = open_menu();
    menu->move(40, 40);
    answer_dialog(report);
    menu->findChild<QAction*>(QStringLiteral("Izb_f"))->trigger();
    settle();
    ASSERT_TRUE(messages.empty()) << messages.front();
    save("Form_menu", "menu-window.png");
    save("Form2", "preview-window.png");
    menu->findChild<QAction*>(QStringLiteral("Help_m"))->trigger();
    settle();
    save("Form1", "about-window.png");
    std::filesystem::remove_all(folder);
}

// The offset dialog, and the calibration page it prints, for the README's
// "Pre-printed forms".
TEST_F(Screenshots, OffsetDialog) {
    const std::string folder = "/tmp/kvalon-screenshots";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    bind_pdf(folder + "/SKLAD.pdf");
    Form_menu* menu = open_menu();
    menu->move(40, 40);
    menu->findChild<QAction*>(QStringLiteral("printOffset"))->trigger();
    settle();
    save("offsetDialog", "offset-dialog.png");
    QTest::mouseClick(control<QPushButton>("offsetDialog", "printCalibration"), Qt::LeftButton);
    settle();
    const RunResult rendered = run_program({"pdftoppm", "-r", "50", "-png", "-singlefile",
                                            folder + "/SKLAD.pdf", m_folder + "/calibration-page"});
    EXPECT_EQ(rendered.status, 0) << rendered.err;
    std::filesystem::remove_all(folder);
}

// The window of the last jobs, with one job kept, for docs/history.md.
TEST_F(Screenshots, HistoryWindow) {
    const std::string folder = "/tmp/kvalon-screenshots";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    ::setenv("XDG_STATE_HOME", (folder + "/state").c_str(), 1);
    ::setenv("KVALON_HISTORY_DAYS", "14", 1);
    const std::string report = folder + "/SKLAD.TXT";
    std::filesystem::copy_file(source_dir() + "/samples/sample-report.txt", report);
    bind_pdf(folder + "/SKLAD.pdf");
    Form_menu* menu = open_menu();
    menu->move(40, 40);
    answer_dialog(report);
    menu->findChild<QAction*>(QStringLiteral("Izb_f"))->trigger();
    settle();
    ASSERT_TRUE(menu->session().print_pages(1, menu->session().page_total()));
    window("Form2")->close();
    settle();
    menu->findChild<QAction*>(QStringLiteral("History_f"))->trigger();
    settle();
    save("historyWindow", "history-window.png");
    ::unsetenv("XDG_STATE_HOME");
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace kvalon::testing
