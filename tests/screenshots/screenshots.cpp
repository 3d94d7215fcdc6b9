#include "tests/ui/window_fixture.h"

#include "ui/qt/menu_window.h"

#include <QAction>
#include <QPixmap>
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

private:
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

} // namespace
} // namespace kvalon::testing
