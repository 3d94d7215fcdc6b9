#include "tests/ui/window_fixture.h"

#include "engine/print_job.h"
#include "printing/choice/printer_choice.h"
#include "printing/pdf/pdf_destination.h"
#include "tests/support/pdf_tools.h"
#include "ui/qt/file_dialog.h"
#include "ui/qt/menu_window.h"
#include "ui/qt/path_label.h"
#include "ui/qt/qt_settings_store.h"
#include "ui/user_settings.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <cstdlib>

namespace kvalon::testing {
namespace {

class PrinterChoice : public UiTest {
protected:
    static std::string printer_shown(Form_menu* menu) {
        return menu->findChild<PathLabel*>(QStringLiteral("Label14"))->path().toStdString();
    }
    static std::string paper_shown(Form_menu* menu) {
        return menu->findChild<QLabel*>(QStringLiteral("Label16"))->text().toStdString();
    }
    static QAction* item(Form_menu* menu, const QString& name) {
        return menu->findChild<QAction*>(name);
    }
    static void press_print() {
        QTest::mouseClick(control<QPushButton>("Form2", "Command2"), Qt::LeftButton);
        settle();
    }
};

// Another PDF file picked in the menu: pages printed so far went to the old
// one, the report is planned again from page 1, the next pages go to the new
// file, and the choice is there in the next run.
TEST_F(PrinterChoice, PdfPrinterWithAFileOfTheUsersChoice) {
    Form_menu* menu = open_menu();
    choose(menu, write_report_of_pages("THREE.TXT", 3));
    press_print(); // page 1 into the open document
    const std::string other = dir.file("другият.pdf");
    std::vector<std::string> proposed;
    set_save_dialog_seam([&proposed, &other](const std::string& start) {
        proposed.push_back(start);
        return other;
    });
    item(menu, QStringLiteral("pdfPrinter"))->trigger();

    EXPECT_EQ(proposed, std::vector<std::string>{pdf()});
    ASSERT_TRUE(file_exists(pdf()));
    EXPECT_EQ(pdf_pages(pdf()), 1);
    EXPECT_EQ(printer_shown(menu), "PDF: " + other);
    EXPECT_EQ(job().PageNumber, 1);
    press_print();
    window("Form2")->close();
    settle();
    ASSERT_TRUE(file_exists(other));
    EXPECT_NE(page_text(other, 1).find("Ред 001"), std::string::npos);

    const std::shared_ptr<const Destination> remembered =
        UserSettings(qt_settings_store()).printer();
    ASSERT_NE(remembered, nullptr);
    EXPECT_TRUE(remembered->is_same_printer(PdfDestination(other)));
}

// A print service queue of other paper than the PDF printer's: the report is
// planned again for the queue's paper at once.
TEST_F(PrinterChoice, QueueOfTheServiceIsPlannedForItsPaper) {
    if (std::getenv("KVALON_CUPS_TEST") == nullptr || system_printers().names().empty()) {
        GTEST_SKIP() << "needs the test CUPS scheduler (scripts/run-tests.sh as root)";
    }
    bind_pdf(pdf(), 11); // A5
    Form_menu* menu = open_menu();
    choose(menu, write_report("REPORT.TXT", 3));
    EXPECT_EQ(paper_shown(menu), "148 / 210");
    const std::string queue = system_printers().names().front();
    item(menu, QStringLiteral("queue:") + QString::fromStdString(queue))->trigger();
    EXPECT_EQ(printer_shown(menu), queue);
    EXPECT_EQ(paper_shown(menu), "210 / 297"); // the test queue is A4
    ASSERT_NE(UserSettings(qt_settings_store()).printer(), nullptr);
    EXPECT_EQ(UserSettings(qt_settings_store()).printer()->name(), queue);
}

} // namespace
} // namespace kvalon::testing
