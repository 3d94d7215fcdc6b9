// Reports far larger than any screen of them: every line counted, every page
// printed, and a report that changes under the program never passes for
// whole. These take seconds each; how fast and how small the program stays
// on them is measured by the benchmark (scripts/run-bench.sh).
#include "tests/end_to_end/pdf_run.h"
#include "tests/support/pdf_tools.h"
#include "tests/support/test_files.h"
#include "tests/support/wait_until.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <thread>

namespace kvalon::testing {
namespace {

class LargeReport : public PdfRun {
protected:
    int lines_per_page() {
        write_bytes(dir.file("probe.txt"), numbered_lines(1));
        return std::stoi(plan(dir.file("probe.txt")).at("LinesPerPage"));
    }
};

TEST_F(LargeReport, AHundredMegabyteReportIsCountedToItsLastLine) {
    const int lines = 1'250'000; // 80 bytes each: 100,000,000 bytes
    write_bytes(dir.file("big.txt"), numbered_lines(lines, 78));
    ASSERT_EQ(std::filesystem::file_size(dir.file("big.txt")), 100'000'000u);
    const auto planned = plan(dir.file("big.txt"));
    EXPECT_EQ(planned.at("LineCount"), std::to_string(lines));
    EXPECT_EQ(planned.at("LongestLine"), "80");
}

TEST_F(LargeReport, TenThousandPagesAllReachThePdf) {
    if (sanitized()) {
        GTEST_SKIP() << "printed once in the plain build; too slow under the sanitizers";
    }
    const int per_page = lines_per_page();
    const int pages = 10'000;
    write_bytes(dir.file("long.txt"), numbered_lines(per_page * pages));
    EXPECT_EQ(plan(dir.file("long.txt")).at("PageCount"), std::to_string(pages));
    const RunResult result = run({dir.file("long.txt")});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(pdf_pages(pdf()), pages);
    const RunResult last =
        run_program({"pdftotext", "-f", "10000", "-l", "10000", "-layout", pdf(), "-"});
    const std::string last_line = std::to_string(100000 + per_page * pages).substr(1);
    EXPECT_NE(last.out.find("Ред " + last_line), std::string::npos) << last.out;
}

// The report is changed while the program prints it: the change is noticed
// from the first page on.
class ChangedReport : public LargeReport {
protected:
    void SetUp() override {
        per_page = lines_per_page();
        // Far more than the reader's first megabyte.
        write_bytes(report(), numbered_lines(per_page * pages));
    }
    // Runs the program and calls `change` once it has begun its document.
    RunResult print_while(void (*change)(const std::string&)) {
        RunResult result;
        std::atomic<bool> finished = false;
        std::thread program([&] {
            result = run({report()});
            finished = true;
        });
        bool begun = false;
        wait_until([&] {
            begun = has_file_starting_with(dir.path(), ".out.pdf.");
            return begun || finished;
        });
        EXPECT_TRUE(begun) << "the document never began: " << result.err;
        change(report());
        program.join();
        return result;
    }
    std::string report() const { return dir.file("REPORT.TXT"); }
    int per_page = 0;
    const int pages = 2000;
};

TEST_F(ChangedReport, CutShortWhilePrintingFailsWithoutADocument) {
    const RunResult result =
        print_while([](const std::string& path) { std::filesystem::resize_file(path, 0); });
    EXPECT_EQ(result.status, 5);
    EXPECT_NE(result.err.find("Kvalon-P: Файлът не може да бъде прочетен: " + report() +
                              " (файлът е променен по време на печата)"),
              std::string::npos)
        << result.err;
    expect_no_document();
}

TEST_F(ChangedReport, RemovedWhilePrintingStillPrintsEveryPage) {
    const RunResult result =
        print_while([](const std::string& path) { std::filesystem::remove(path); });
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(pdf_pages(pdf()), pages);
}

} // namespace
} // namespace kvalon::testing
