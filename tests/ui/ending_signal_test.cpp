#include "tests/ui/window_fixture.h"

#include "engine/messages.h"
#include "tests/support/pdf_tools.h"
#include "ui/qt/menu_window.h"
#include "ui/qt/window_loop.h"

#include <QLabel>
#include <QTest>

#include <csignal>
#include <cstdlib>

namespace kvalon::testing {
namespace {

// The death test's child runs the test again from its start in a process of
// its own; it finds the parent's folder in the environment and prints there.
constexpr const char* kSharedFolder = "KVALON_TEST_SIGNAL_FOLDER";

class EndingSignal : public UiTest {
protected:
    std::string folder() {
        if (const char* parent = std::getenv(kSharedFolder)) {
            return parent;
        }
        setenv(kSharedFolder, dir.path().c_str(), 1);
        return dir.path();
    }
    void TearDown() override {
        unsetenv(kSharedFolder);
        UiTest::TearDown();
    }
};

// Two pages printed into the PDF printer, held for its file while the preview
// is open, and the status line says where; then the session ends the
// program, as a logout does.
void print_two_pages_then_end(Form_menu& menu, int signal_number, const std::string& pdf) {
    Form2* preview = menu.preview();
    if (preview == nullptr || !QTest::qWaitForWindowActive(preview)) {
        std::_Exit(10);
    }
    for (int page = 0; page < 2; ++page) {
        QTest::keyClick(preview, Qt::Key_P, Qt::ControlModifier);
        QCoreApplication::processEvents();
    }
    const auto* status = preview->findChild<QLabel*>(QStringLiteral("statusLine"));
    const std::string expected = "2" + messages::kPagesHeldForFile + pdf;
    if (status == nullptr || status->text().toStdString() != expected) {
        std::_Exit(11);
    }
    std::raise(signal_number);
}

TEST_F(EndingSignal, PagesPrintedIntoTheFileAreWrittenWholeBeforeTheProgramEnds) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const std::string shared = folder();
    const std::string report = shared + "/TWELVE.TXT";
    write_bytes(report, read_bytes(write_report_of_pages("TWELVE.TXT", 12)));
    for (const int signal_number : {SIGTERM, SIGHUP}) {
        const std::string out = shared + "/o" + std::to_string(signal_number) + ".pdf";
        EXPECT_EXIT(
            {
                bind_pdf(out);
                set_menu_window_seam([signal_number, out](Form_menu& menu) {
                    print_two_pages_then_end(menu, signal_number, out);
                });
                run_menu_window(*binding, report);
                std::_Exit(12);
            },
            ::testing::KilledBySignal(signal_number), "");
        ASSERT_TRUE(file_exists(out)) << signal_number;
        EXPECT_EQ(pdf_pages(out), 2);
        EXPECT_EQ(qpdf_problems(out), "");
        EXPECT_NE(page_text(out, 2).find("фактуриране"), std::string::npos)
            << "the footer under the last page printed";
    }
}

} // namespace
} // namespace kvalon::testing
