// The bundled sample report, planned and printed as the batch path does it,
// against the recording surface: every glyph, box segment, shade, new page
// and the end of the document, compared whole with tests/golden/.
#include "engine/plan_layout.h"
#include "engine/print_job.h"
#include "engine/read_page.h"
#include "engine/source_file.h"
#include "printing/print_page.h"
#include "tests/support/golden_file.h"
#include "tests/support/recording_surface.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <string>

namespace kvalon {
namespace {

// What planning chose, ahead of the drawing it leads to.
std::string plan_summary() {
    const PrintJob& j = job();
    return "Plan FontSize=" + std::to_string(j.FontSize) + " Orientation=" + j.Orientation +
           " CharsPerLine=" + std::to_string(j.CharsPerLine) +
           " LinesPerPage=" + std::to_string(j.LinesPerPage) +
           " PageCount=" + testing::two_decimals(j.PageCount) +
           " LeftIndent=" + std::to_string(j.LeftIndent) + " PaperName=" + j.PaperName +
           " CharWidth=" + testing::two_decimals(j.CharWidth) +
           " LineHeight=" + testing::two_decimals(j.LineHeight) + "\n";
}

TEST(SampleReport, PrintsAsRecorded) {
    testing::RecordingSurface surface;
    reset_job();
    PrintJob& j = job();
    j.SourcePath = testing::source_dir() + "/samples/sample-report.txt";
    j.ParamList = {j.SourcePath, "0", "8", ""};
    j.FontFace = "CourierCyr";
    j.CommandLineJob = true;
    set_printer(&surface);
    plan_layout();
    const std::string summary = plan_summary();
    while (!j.SourceDone) {
        read_page();
        print_page();
    }
    source_file().close();
    set_printer(nullptr);
    reset_job();
    EXPECT_TRUE(testing::matches_golden_file("sample-report.log", summary + surface.joined_log()));
}

} // namespace
} // namespace kvalon
