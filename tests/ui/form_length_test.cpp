#include "tests/ui/window_fixture.h"

#include "engine/escp/escp_form_length.h"
#include "engine/print_job.h"
#include "tests/support/pdf_tools.h"
#include "ui/qt/form_lines_dialog.h"
#include "ui/qt/menu_window.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>

#include <string>

namespace kvalon::testing {
namespace {

class FormLength : public UiTest {
protected:
    void TearDown() override {
        set_form_lines_seam(nullptr);
        UiTest::TearDown();
    }
    static QAction* choice(Form_menu* menu, const char* name) {
        return menu->findChild<QAction*>(QString::fromLatin1(name));
    }
    static std::string value(Form_menu* menu, const char* label) {
        return menu->findChild<QLabel*>(QString::fromLatin1(label))->text().toStdString();
    }
    static std::string pages_caption() {
        return caption_of(control<QPushButton>("Form2", "Command2"));
    }
};

// An Epson report that leaves its pages to the printer's form breaks them
// where the printer was set to: 140 lines at a sixth of an inch make three
// 11-inch forms, two 12-inch ones, and two forms of 70 lines, the second
// starting at line 71. The choice is remembered; a length given for the
// run itself stays.
TEST_F(FormLength, TheChosenFormBreaksThePagesAndIsRemembered) {
    std::string report = "\x1b"
                         "2";
    for (int line = 1; line <= 140; ++line) {
        report += "line " + std::to_string(line) + "\r\n";
    }
    const std::string path = dir.file("FORMS.PRN");
    write_bytes(path, report);
    Form_menu* menu = open_menu();
    EXPECT_TRUE(choice(menu, "formLength_11in")->isChecked());
    choose(menu, path);
    EXPECT_EQ(pages_caption(), "Печат стр. 1/3");
    EXPECT_EQ(value(menu, "Label26"), "11 in (279 mm)");

    choice(menu, "formLength_12in")->trigger();
    EXPECT_EQ(pages_caption(), "Печат стр. 1/2");
    EXPECT_EQ(value(menu, "Label26"), "12 in (305 mm)");

    std::vector<int> proposed;
    set_form_lines_seam([&proposed](int lines) {
        proposed.push_back(lines);
        return std::optional<int>(70);
    });
    choice(menu, "formLength_lines")->trigger();
    EXPECT_EQ(proposed, std::vector<int>{72});
    EXPECT_EQ(value(menu, "Label26"), "70 реда (296 mm)");
    EXPECT_TRUE(choice(menu, "formLength_lines")->isChecked());
    EXPECT_NE(choice(menu, "formLength_lines")->text().indexOf(QStringLiteral("70 реда")), -1);
    window("Form2")->findChild<QAction*>(QStringLiteral("printAll"))->trigger();
    window("Form2")->close();
    settle();
    ASSERT_EQ(pdf_pages(pdf()), 2);
    EXPECT_EQ(page_text(pdf(), 2).rfind("line 71 ", 0), 0u) << page_text(pdf(), 2);

    delete menu;
    job().PrinterFormLength = *parse_form_length("11in");
    open_menu();
    EXPECT_EQ(job().PrinterFormLength, parse_form_length("70"));
    job().PrinterFormLength = *parse_form_length("a4");
    job().PrinterFormLengthAsked = true;
    Form_menu* asked_run = open_menu();
    EXPECT_EQ(job().PrinterFormLength, parse_form_length("a4"));
    EXPECT_TRUE(choice(asked_run, "formLength_a4")->isChecked());
}

} // namespace
} // namespace kvalon::testing
