#include "tests/ui/window_fixture.h"

#include "tests/support/pdf_tools.h"
#include "ui/print_session.h"
#include "ui/qt/menu_window.h"

#include <QAction>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <cstdlib>
#include <filesystem>

namespace kvalon::testing {
namespace {

// The windows keep what they print in a state folder of the test's own.
class HistoryWindowTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        ::setenv("XDG_STATE_HOME", dir.file("state").c_str(), 1);
        ::setenv("KVALON_HISTORY_DAYS", "14", 1);
    }
    void TearDown() override {
        ::setenv("KVALON_HISTORY_DAYS", "0", 1);
        ::unsetenv("XDG_STATE_HOME");
        UiTest::TearDown();
    }
    QTreeWidget* open_history(Form_menu* menu) {
        menu->findChild<QAction*>(QStringLiteral("History_f"))->trigger();
        settle();
        return control<QTreeWidget>("historyWindow", "historyList");
    }
    static void press(const char* name) {
        QTest::mouseClick(control<QPushButton>("historyWindow", name), Qt::LeftButton);
        settle();
    }
    static void close_preview() {
        if (QWidget* preview = window("Form2")) {
            preview->close();
            settle();
        }
    }
};

TEST_F(HistoryWindowTest, APrintedReportIsListedAndOpensAndPrintsFromItsKeptCopy) {
    Form_menu* menu = open_menu();
    const std::string report = write_report_of_pages("SKLAD.TXT", 2);
    choose(menu, report);
    ASSERT_TRUE(menu->session().print_pages(1, 1));
    ASSERT_TRUE(menu->session().print_pages(2, 2)); // the same job: its pages add up
    close_preview();
    ASSERT_EQ(pdf_pages(pdf()), 2);

    QTreeWidget* list = open_history(menu);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->topLevelItemCount(), 1);
    EXPECT_EQ(list->topLevelItem(0)->text(1).toStdString(), report);
    EXPECT_EQ(list->topLevelItem(0)->text(2).toStdString(), "2");
    EXPECT_EQ(list->topLevelItem(0)->text(3).toStdString(), "PDF " + pdf());

    press("previewJob");
    EXPECT_EQ(window("historyWindow"), nullptr);
    const std::string kept = menu->session().report_path();
    EXPECT_EQ(kept.rfind(dir.file("state/kvalon-p/history/"), 0), 0U) << kept;
    close_preview();

    std::filesystem::remove(pdf());
    std::filesystem::remove(report); // the kept copy prints, not the file
    ASSERT_NE(open_history(menu), nullptr);
    press("reprintJob");
    close_preview();
    EXPECT_EQ(pdf_pages(pdf()), 2);
    EXPECT_NE(page_text(pdf(), 2).find(line_label(lines_per_page() + 1)), std::string::npos);
    list = open_history(menu);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->topLevelItemCount(), 1); // printed again, not kept again
    ASSERT_TRUE(messages.empty()) << messages.front();
}

} // namespace
} // namespace kvalon::testing
