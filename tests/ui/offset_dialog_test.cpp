#include "tests/ui/window_fixture.h"

#include "engine/print_job.h"
#include "printing/pdf/pdf_destination.h"
#include "tests/support/pdf_tools.h"
#include "ui/qt/menu_window.h"
#include "ui/qt/qt_settings_store.h"
#include "ui/user_settings.h"

#include <QAction>
#include <QDoubleSpinBox>
#include <QPushButton>
#include <QTest>

#include <algorithm>

namespace kvalon::testing {
namespace {

constexpr double kPointsPerMm = 72 / 25.4;

class OffsetDialogTest : public UiTest {
protected:
    // Opens the dialog from the printer menu and types the offset in it.
    void type_offset(Form_menu* menu, double across, double down) {
        menu->findChild<QAction*>(QStringLiteral("printOffset"))->trigger();
        settle();
        ASSERT_NE(window("offsetDialog"), nullptr);
        control<QDoubleSpinBox>("offsetDialog", "offsetAcross")->setValue(across);
        control<QDoubleSpinBox>("offsetDialog", "offsetDown")->setValue(down);
    }
    // Prints the page on view; a report's last page printed closes the preview.
    static void print_on_view() {
        QTest::mouseClick(control<QPushButton>("Form2", "Command2"), Qt::LeftButton);
        settle();
        if (QWidget* preview = window("Form2")) {
            preview->close();
            settle();
        }
    }
    static void press(const char* name) {
        QTest::mouseClick(control<QPushButton>("offsetDialog", name), Qt::LeftButton);
        settle();
    }
};

// The calibration page goes through the printer's own page path: its grid,
// cross and rulers stand moved by the offset typed, which is remembered for
// the printer.
TEST_F(OffsetDialogTest, TheCalibrationPageStandsMovedByTheOffset) {
    Form_menu* menu = open_menu();
    type_offset(menu, 3.5, -2.5);
    press("printCalibration");
    ASSERT_TRUE(file_exists(pdf()));
    EXPECT_EQ(pdf_pages(pdf()), 1);

    const GreyImage page = render_page(pdf(), 1, 300);
    // The cross through 50 mm, and the 10 mm lines, moved; nothing heavy
    // where they stand unmoved.
    EXPECT_TRUE(dark_along(page, 53.5, 36, 53.5, 60));
    EXPECT_TRUE(dark_along(page, 40, 47.5, 62, 47.5));
    EXPECT_FALSE(dark_along(page, 50, 36, 50, 60));
    EXPECT_FALSE(dark_along(page, 40, 50, 62, 50));
    EXPECT_TRUE(dark_along(page, 13.5, 20, 13.5, 200));
    EXPECT_TRUE(dark_along(page, 20, 27.5, 190, 27.5));
    // The rulers' labels, beside their lines: "100" across the top and down
    // the left edge.
    std::vector<PdfWord> labels;
    for (const PdfWord& word : pdf_words(pdf())) {
        if (word.text == "100") {
            labels.push_back(word);
        }
    }
    ASSERT_EQ(labels.size(), 2u);
    std::sort(labels.begin(), labels.end(),
              [](const PdfWord& a, const PdfWord& b) { return a.x_min > b.x_min; });
    EXPECT_NEAR(labels[0].x_min / kPointsPerMm, 100.6 + 3.5, 0.3);
    EXPECT_LT(labels[0].y_min / kPointsPerMm, 5);
    EXPECT_NEAR(labels[1].x_min / kPointsPerMm, 4.5 + 3.5, 0.3);
    EXPECT_GT(labels[1].y_min / kPointsPerMm, 100.6 - 2.5 - 1);

    press("offsetOk");
    EXPECT_EQ(window("offsetDialog"), nullptr);
    const SheetOffset remembered =
        UserSettings(qt_settings_store()).offset_for(PdfDestination(pdf()));
    EXPECT_EQ(remembered, (SheetOffset{3.5, -2.5}));
}

// A report printed after the offset was chosen moves with it, and the next
// run's windows print with it too; Cancel changes nothing.
TEST_F(OffsetDialogTest, ReportsPrintWithTheOffsetChosen) {
    const std::string report = write_report("REPORT.TXT", 2);
    {
        Form_menu* menu = open_menu();
        type_offset(menu, -5, 7.5);
        press("offsetOk");
        delete menu;
        settle();
    }
    Form_menu* menu = open_menu();
    type_offset(menu, 20, 20);
    press("offsetCancel");
    ASSERT_EQ(window("offsetDialog"), nullptr);
    choose(menu, report);
    ASSERT_NE(window("Form2"), nullptr);
    print_on_view();
    const std::vector<PdfWord> moved = pdf_words(pdf());
    ASSERT_FALSE(moved.empty());

    UserSettings(qt_settings_store()).remember_offset(PdfDestination(pdf()), {});
    const std::string plain_pdf = dir.file("plain.pdf");
    bind_pdf(plain_pdf);
    delete menu;
    settle();
    Form_menu* plain_menu = open_menu();
    choose(plain_menu, report);
    print_on_view();
    const std::vector<PdfWord> plain = pdf_words(plain_pdf);
    ASSERT_EQ(plain.size(), moved.size());
    EXPECT_NEAR(moved[0].x_min - plain[0].x_min, -5 * kPointsPerMm, 0.05);
    EXPECT_NEAR(moved[0].y_min - plain[0].y_min, 7.5 * kPointsPerMm, 0.05);
}

} // namespace
} // namespace kvalon::testing
