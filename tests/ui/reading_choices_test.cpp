#include "tests/ui/window_fixture.h"

#include "engine/escp/escp_form_length.h"
#include "engine/print_job.h"
#include "engine/printer_language.h"
#include "tests/support/pdf_tools.h"
#include "ui/qt/form_lines_dialog.h"
#include "ui/qt/menu_window.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>

#include <string>

namespace kvalon::testing {
namespace {

class ReadingChoices : public UiTest {
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

// The language is told from each report unless one is chosen: a report of
// attributes alone reads as text, one that feeds the paper as Epson, and the
// print data say when the program told it. A choice plans the report on view
// again, and the next run starts with it unless the run was given its own.
TEST_F(ReadingChoices, TheLanguageChoiceReplansTheReportAndIsRemembered) {
    const std::string attributes = dir.file("BOLD.TXT");
    write_bytes(attributes, "\x1b@\x1b"
                            "E" +
                                std::string(40, 'x') +
                                "\x1b"
                                "F\r\n");
    const std::string feeds = dir.file("FEEDS.TXT");
    write_bytes(feeds, std::string(40, 'x') + "\x1bJ\x30" + std::string(40, 'y') + "\r\n");
    Form_menu* menu = open_menu();
    ASSERT_NE(choice(menu, "language_escp"), nullptr);
    EXPECT_TRUE(choice(menu, "language_auto")->isChecked());
    choose(menu, feeds);
    EXPECT_TRUE(job().Escp.has_value());
    EXPECT_EQ(value(menu, "Label22"), "Epson (ESC/P) (разпознат)");
    EXPECT_EQ(value(menu, "Label26"), "11 in (279 mm)");
    choose(menu, attributes);
    EXPECT_FALSE(job().Escp.has_value());
    EXPECT_EQ(job().LongestLine, 48);
    EXPECT_EQ(value(menu, "Label22"), "текст (разпознат)");
    EXPECT_EQ(value(menu, "Label26"), "11 in (279 mm), само за Epson");

    choice(menu, "language_escp")->trigger();
    EXPECT_TRUE(job().Escp.has_value());
    EXPECT_EQ(job().LongestLine, 40); // the printed line in 10-pitch columns
    EXPECT_EQ(job().PageNumber, 1);
    EXPECT_EQ(value(menu, "Label22"), "Epson (ESC/P)");
    choice(menu, "language_text")->trigger();
    EXPECT_FALSE(job().Escp.has_value());
    choose(menu, feeds);
    EXPECT_FALSE(job().Escp.has_value()) << "text chosen holds for every report";
    EXPECT_EQ(value(menu, "Label22"), "текст");

    delete menu;
    choose_language(job(), LanguageChoice::Auto);
    Form_menu* next_run = open_menu();
    EXPECT_TRUE(choice(next_run, "language_text")->isChecked());
    EXPECT_FALSE(job().LanguageByReport);
    choose_language(job(), LanguageChoice::Epson); // --escp for the run
    Form_menu* asked_run = open_menu();
    EXPECT_TRUE(choice(asked_run, "language_escp")->isChecked());
    EXPECT_TRUE(job().Escp.has_value());
}

// An Epson report that leaves its pages to the printer's form breaks them
// where the printer was set to: 140 lines at a sixth of an inch make three
// 11-inch forms, two 12-inch ones, and two forms of 70 lines, the second
// starting at line 71. The choice is remembered; a length given for the
// run itself stays.
TEST_F(ReadingChoices, TheChosenFormBreaksThePagesAndIsRemembered) {
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
