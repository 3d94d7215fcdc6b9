#include "tests/ui/window_fixture.h"

#include "engine/messages.h"
#include "engine/print_job.h"
#include "engine/source_file.h"
#include "tests/support/pdf_tools.h"
#include "ui/form_menu.h"

#include <QAction>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace kvalon::testing {
namespace {

class MenuWindow : public UiTest {
protected:
    Form_menu* open_menu() {
        auto* menu = new Form_menu;
        menu->show();
        return menu;
    }
    void choose(Form_menu* menu, const std::string& path) {
        answer_dialog(path);
        menu->findChild<QAction*>(QStringLiteral("Izb_f"))->trigger();
    }
    static std::string value(Form_menu* menu, const char* label) {
        return menu->findChild<QLabel*>(QString::fromLatin1(label))->text().toStdString();
    }
    static bool can_print(Form_menu* menu) {
        return menu->findChild<QAction*>(QStringLiteral("Print_f"))->isEnabled();
    }
    static bool frame_shown(Form_menu* menu) {
        return menu->findChild<QGroupBox*>(QStringLiteral("Frame1"))->isVisible();
    }
};

TEST_F(MenuWindow, ChosenReportShowsItsPrintDataAndOpensThePreview) {
    Form_menu* menu = open_menu();
    EXPECT_FALSE(can_print(menu));
    EXPECT_FALSE(frame_shown(menu));
    const std::string report = write_report("REPORT.TXT", 5);
    choose(menu, report);

    const PrintJob& j = job();
    EXPECT_EQ(value(menu, "Label14"), "PDF: " + pdf());
    EXPECT_EQ(value(menu, "Label2"), report);
    EXPECT_EQ(value(menu, "Label6"), "CourierCyr");
    EXPECT_EQ(value(menu, "Label5"), std::to_string(j.FontSize));
    EXPECT_GE(j.FontSize, 6);
    EXPECT_EQ(value(menu, "Label8"), std::to_string(j.CharsPerLine));
    EXPECT_EQ(value(menu, "Label10"), std::to_string(j.LinesPerPage));
    EXPECT_EQ(value(menu, "Label12"), "Портрет (Portrait)");
    EXPECT_EQ(value(menu, "Label16"), "210 / 297");
    EXPECT_EQ(value(menu, "Label18"), "A4, 210 x 297 mm ");
    EXPECT_TRUE(can_print(menu));
    EXPECT_TRUE(frame_shown(menu));
    EXPECT_TRUE(messages.empty());
    ASSERT_NE(window("Form2"), nullptr);
    EXPECT_EQ(j.PageNumber, 1);
}

TEST_F(MenuWindow, OrientationRowFollowsThePlan) {
    const struct {
        int line_length;
        const char* shown;
    } cases[] = {{40, "Портрет (Portrait)"}, {220, "Пейзаж (Landscape)"}};
    Form_menu* menu = open_menu();
    for (const auto& c : cases) {
        const std::string report = dir.file("WIDE" + std::to_string(c.line_length) + ".TXT");
        write_bytes(report, std::string(static_cast<std::size_t>(c.line_length), 'x') + "\r\n");
        choose(menu, report);
        EXPECT_EQ(value(menu, "Label12"), c.shown) << c.line_length;
    }
}

TEST_F(MenuWindow, EmptyFileIsReportedAndDropsTheJob) {
    Form_menu* menu = open_menu();
    const std::string empty = dir.file("EMPTY.TXT");
    write_bytes(empty, "");
    choose(menu, empty);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Файл " + empty + " е с нулева дължина");
    EXPECT_FALSE(can_print(menu));
    EXPECT_FALSE(frame_shown(menu));
    EXPECT_EQ(window("Form2"), nullptr);
    EXPECT_FALSE(source_file().is_open());
}

TEST_F(MenuWindow, DialogStartsAtTheLastChoiceAndAtHomeAfterACancel) {
    Form_menu* menu = open_menu();
    const std::string report = write_report("REPORT.TXT", 3);
    choose(menu, report);
    choose(menu, "");
    choose(menu, report);
    const std::string home = QDir::homePath().toStdString();
    EXPECT_EQ(dialog_folders, (std::vector<std::string>{home, dir.path(), home}));
}

TEST_F(MenuWindow, CancelAfterAChoiceHidesTheDataButKeepsTheSourceOpen) {
    Form_menu* menu = open_menu();
    choose(menu, write_report("REPORT.TXT", 3));
    choose(menu, "");
    EXPECT_FALSE(can_print(menu));
    EXPECT_FALSE(frame_shown(menu));
    EXPECT_TRUE(source_file().is_open());
    EXPECT_TRUE(messages.empty());
}

TEST_F(MenuWindow, UnusableChoicesAreToldAndLeaveNoFileChosen) {
    const std::string vanished = dir.file("GONE.TXT");
    const std::string too_long = dir.file("LONG.TXT");
    write_bytes(too_long, std::string(40000, 'x') + "\r\n");
    const struct {
        std::string path;
        std::string message;
    } cases[] = {
        {vanished, messages::kFileVanished + vanished},
        {too_long, messages::kLineTooLong + too_long},
    };
    Form_menu* menu = open_menu();
    for (const auto& c : cases) {
        messages.clear();
        choose(menu, write_report("GOOD.TXT", 3));
        choose(menu, c.path);
        ASSERT_EQ(messages.size(), 1u) << c.path;
        EXPECT_EQ(messages[0], c.message);
        EXPECT_FALSE(can_print(menu));
        EXPECT_FALSE(frame_shown(menu));
        EXPECT_FALSE(source_file().is_open());
    }
}

TEST_F(MenuWindow, PreviewOfADroppedJobStopsAndANewChoiceGetsAFreshOne) {
    Form_menu* menu = open_menu();
    choose(menu, write_report_of_pages("THREE.TXT", 3));
    QPointer<QWidget> old_preview = window("Form2");
    ASSERT_NE(old_preview, nullptr);

    const std::string empty = dir.file("EMPTY.TXT");
    write_bytes(empty, "");
    choose(menu, empty);
    ASSERT_TRUE(old_preview);
    EXPECT_FALSE(control<QPushButton>("Form2", "Command1")->isEnabled());
    EXPECT_FALSE(control<QPushButton>("Form2", "Command2")->isEnabled());

    choose(menu, write_report("TWO.TXT", 2));
    settle();
    EXPECT_FALSE(old_preview);
    ASSERT_NE(window("Form2"), nullptr);
    EXPECT_TRUE(control<QPushButton>("Form2", "Command1")->isEnabled());
    EXPECT_EQ(control<QPushButton>("Form2", "Command2")->text(), "Печат стр. 1/1");
}

TEST_F(MenuWindow, PrintItemReopensThePreviewAtTheNextUnreadPage) {
    Form_menu* menu = open_menu();
    choose(menu, write_report_of_pages("THREE.TXT", 3));
    window("Form2")->close();
    settle();
    menu->findChild<QAction*>(QStringLiteral("Print_f"))->trigger();
    ASSERT_NE(window("Form2"), nullptr);
    EXPECT_EQ(job().PageNumber, 2);
    EXPECT_EQ(control<QPushButton>("Form2", "Command2")->text(), "Печат стр. 1/3");
}

TEST_F(MenuWindow, ClosingTheMenuClosesEveryWindow) {
    Form_menu* menu = open_menu();
    choose(menu, write_report("REPORT.TXT", 3));
    menu->findChild<QAction*>(QStringLiteral("Help_m"))->trigger();
    ASSERT_NE(window("Form2"), nullptr);
    ASSERT_NE(window("Form1"), nullptr);
    menu->findChild<QAction*>(QStringLiteral("End_prog"))->trigger();
    settle();
    EXPECT_EQ(window("Form_menu"), nullptr);
    EXPECT_EQ(window("Form2"), nullptr);
    EXPECT_EQ(window("Form1"), nullptr);
}

TEST_F(MenuWindow, PagesOfTheOldJobAreOneDocumentWhenAnotherFileIsChosen) {
    Form_menu* menu = open_menu();
    choose(menu, write_report_of_pages("THREE.TXT", 3));
    QTest::mouseClick(control<QPushButton>("Form2", "Command2"), Qt::LeftButton);
    EXPECT_FALSE(file_exists(pdf())); // the job's document is still open
    choose(menu, write_report("NEXT.TXT", 2));
    ASSERT_TRUE(file_exists(pdf()));
    EXPECT_EQ(pdf_pages(pdf()), 1);
}

TEST_F(MenuWindow, EveryWindowCarriesTheProgramIcon) {
    Form_menu* menu = open_menu();
    choose(menu, write_report("REPORT.TXT", 3));
    menu->findChild<QAction*>(QStringLiteral("Help_m"))->trigger();
    for (const char* name : {"Form_menu", "Form2", "Form1"}) {
        ASSERT_NE(window(name), nullptr) << name;
        EXPECT_FALSE(window(name)->windowIcon().pixmap(32, 32).isNull()) << name;
    }
}

} // namespace
} // namespace kvalon::testing
