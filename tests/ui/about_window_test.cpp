#include "tests/ui/window_fixture.h"

#include "ui/qt/about_window.h"
#include "ui/qt/menu_window.h"

#include "build_info.h"

#include <QAction>
#include <QApplication>
#include <QLabel>

namespace kvalon::testing {
namespace {

TEST(AboutVersionText, EachNumberKeepsASignPlace) {
    const struct {
        int major, minor, revision;
        const char* text;
    } cases[] = {
        {1, 2, 0, "Версия  1. 2. 0"},
        {10, 0, 7, "Версия  10. 0. 7"},
        {-1, 2, -30, "Версия -1. 2.-30"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(about_version_text(c.major, c.minor, c.revision), c.text);
    }
}

class AboutWindow : public UiTest {};

TEST_F(AboutWindow, OpeningTwiceLeavesOneWindowWithItsTexts) {
    Form_menu* menu = open_menu();
    QAction* help = menu->findChild<QAction*>(QStringLiteral("Help_m"));
    help->trigger();
    settle();
    QWidget* first = window("Form1");
    ASSERT_NE(first, nullptr);
    help->trigger();
    settle();
    int shown = 0;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        shown += widget->isVisible() && widget->objectName() == QLatin1String("Form1");
    }
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(window("Form1"), first);

    auto label = [](const char* name) {
        return control<QLabel>("Form1", name)->text().toStdString();
    };
    EXPECT_EQ(first->windowTitle().toStdString(), "Kvalon-P");
    EXPECT_EQ(label("Label3"), "ЕТ \"Квалон\"");
    EXPECT_EQ(label("Label1"), "Печат на DOS-файлове на Windows-принтер");
    EXPECT_EQ(label("Label2"), "Версия  1. 2. 0");
    EXPECT_EQ(label("Label4"), std::string(build_info::home_url) + "   " + build_info::email);
    EXPECT_EQ(first->minimumSize(), first->maximumSize()); // not resizable

    // Closed, it is gone; the next use loads it afresh.
    first->close();
    settle();
    EXPECT_EQ(window("Form1"), nullptr);
    help->trigger();
    settle();
    EXPECT_NE(window("Form1"), nullptr);
}

} // namespace
} // namespace kvalon::testing
