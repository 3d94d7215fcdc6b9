// Two jobs printing different reports to one PDF target at the same time.
#include "tests/support/print_service.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <thread>

namespace kvalon::testing {
namespace {

std::string report_lines(int count, const std::string& word) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += word + " " + std::to_string(i) + std::string(50, '.') + "\r\n";
    }
    return text;
}

// Two jobs to one target used to leave one job's status over the other's
// document, or a corrupt file: now each writes a file of its own and the last
// one renamed wins whole.
TEST(ConcurrentJobs, JobsToOnePdfTargetAtOnceLeaveOneWholeDocument) {
    TempDir dir;
    const std::map<std::string, std::string> env = {{"KVALON_PDF", dir.file("out/shared.pdf")},
                                                    {"HOME", dir.path()},
                                                    {"XDG_DATA_HOME", dir.file("data")},
                                                    {"XDG_RUNTIME_DIR", dir.path()}};
    const auto run = [&](const std::string& report) {
        return run_program({"timeout", "60", kvalon_binary(), report}, env);
    };
    write_bytes(dir.file("ALPHA.TXT"), report_lines(1500, "ALPHA"));
    write_bytes(dir.file("BRAVO.TXT"), report_lines(1500, "BRAVO"));
    const std::string target = dir.file("out/shared.pdf");
    std::filesystem::create_directory(dir.file("out"));
    for (int round = 0; round < 5; ++round) {
        RunResult alpha;
        std::thread first([&] { alpha = run(dir.file("ALPHA.TXT")); });
        const RunResult bravo = run(dir.file("BRAVO.TXT"));
        first.join();
        EXPECT_EQ(alpha.status, 0) << alpha.err;
        EXPECT_EQ(bravo.status, 0) << bravo.err;
        EXPECT_EQ(run_program({"qpdf", "--check", target}).status, 0) << "round " << round;
        const std::string text = run_program({"pdftotext", target, "-"}).out;
        const bool is_alpha = text.find("ALPHA") != std::string::npos;
        const bool is_bravo = text.find("BRAVO") != std::string::npos;
        EXPECT_NE(is_alpha, is_bravo) << "one report, whole, in round " << round;
        EXPECT_NE(text.find(is_alpha ? "ALPHA 1499" : "BRAVO 1499"), std::string::npos);
        EXPECT_EQ(files_in(dir.file("out")), std::set<std::string>{target});
    }
}

} // namespace
} // namespace kvalon::testing
