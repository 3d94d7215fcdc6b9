#include "tests/ui/window_fixture.h"

#include "ui/qt/menu_window.h"

#include <QGroupBox>
#include <QGuiApplication>
#include <QScreen>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <ostream>
#include <string>

namespace kvalon::testing {
namespace {

struct Screens {
    const char* what;
    const char* screens; // the offscreen platform's, as JSON
    QPoint menu;         // where the menu window is when the report is chosen
};
void PrintTo(const Screens& screens, std::ostream* out) {
    *out << screens.what;
}

// The windows on screens of the test's own: the offscreen platform reads
// them from a file given with its name.
class WindowPlaces : public UiTest, public ::testing::WithParamInterface<Screens> {
protected:
    void SetUp() override {
        const char* platform = std::getenv("QT_QPA_PLATFORM");
        m_platform = platform ? std::optional<std::string>(platform) : std::nullopt;
        const std::string config = dir.file("screens.json");
        std::ofstream(config) << "{\"screens\": [" << GetParam().screens << "]}";
        setenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).c_str(), 1);
        UiTest::SetUp();
    }
    void TearDown() override {
        UiTest::TearDown();
        if (m_platform) {
            setenv("QT_QPA_PLATFORM", m_platform->c_str(), 1);
        } else {
            unsetenv("QT_QPA_PLATFORM");
        }
    }

    static QRect print_data(Form_menu* menu) {
        const auto* frame = menu->findChild<QGroupBox*>(QStringLiteral("Frame1"));
        return {frame->mapToGlobal(QPoint(0, 0)), frame->size()};
    }
    static bool on_a_screen(const QRect& frame) {
        for (const QScreen* screen : QGuiApplication::screens()) {
            if (screen->availableGeometry().contains(frame)) {
                return true;
            }
        }
        return false;
    }

private:
    std::optional<std::string> m_platform;
};

// The preview opens beside the menu window, its frame clear of the print
// data; moved by the user and closed, both windows come back where they
// were in the next run.
TEST_P(WindowPlaces, ThePreviewLeavesThePrintDataInViewAndBothPlacesAreKept) {
    ASSERT_GE(QGuiApplication::screens().size(), 1);
    const std::string report = write_report("REPORT.TXT", 200);
    Form_menu* menu = open_menu();
    menu->move(GetParam().menu);
    settle();
    choose(menu, report);
    QWidget* preview = window("Form2");
    ASSERT_NE(preview, nullptr);
    EXPECT_FALSE(preview->frameGeometry().intersects(print_data(menu)))
        << preview->frameGeometry().x() << "," << preview->frameGeometry().y();
    EXPECT_TRUE(on_a_screen(preview->frameGeometry()));
    EXPECT_TRUE(on_a_screen(menu->frameGeometry()));
    EXPECT_GE(preview->width(), 640);

    const QRect menu_left = menu->geometry();
    preview->move(preview->pos() + QPoint(0, 10));
    preview->resize(preview->size() - QSize(20, 30));
    settle();
    const QRect preview_left = preview->geometry();
    menu->close();
    settle();
    delete menu;

    Form_menu* next_run = open_menu();
    settle();
    EXPECT_EQ(next_run->geometry(), menu_left);
    choose(next_run, report);
    ASSERT_NE(window("Form2"), nullptr);
    EXPECT_EQ(window("Form2")->geometry(), preview_left);
}

INSTANTIATE_TEST_SUITE_P(
    Screens, WindowPlaces,
    ::testing::Values(
        Screens{"Wide", R"({"name": "wide", "width": 1920, "height": 1080, "logicalDpi": 96})",
                QPoint(100, 100)},
        Screens{"MenuInTheMiddle",
                R"({"name": "sxga", "width": 1280, "height": 1024, "logicalDpi": 96})",
                QPoint(372, 299)},
        Screens{"Narrow", R"({"name": "xga", "width": 1024, "height": 768, "logicalDpi": 96})",
                QPoint(244, 171)},
        Screens{"TwoScreens",
                R"({"name": "left", "x": 0, "y": 0, "width": 1280, "height": 1024,
                    "logicalDpi": 96},
                   {"name": "right", "x": 1280, "y": 0, "width": 1920, "height": 1080,
                    "logicalDpi": 96})",
                QPoint(372, 299)}),
    [](const ::testing::TestParamInfo<Screens>& param) { return std::string(param.param.what); });

} // namespace
} // namespace kvalon::testing
