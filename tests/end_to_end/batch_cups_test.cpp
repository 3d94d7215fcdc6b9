#include "tests/support/pdf_tools.h"
#include "tests/support/print_service.h"
#include "tests/support/test_files.h"
#include "tests/support/wait_until.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <unistd.h>

namespace kvalon::testing {
namespace {

// These run against the test scheduler (scripts/run-tests.sh starts it and
// exports CUPS_SERVER: a private scheduler with a cups-pdf queue "PDF" as its
// default, which writes into a folder of its own) and skip themselves
// without it.
class BatchCups : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::getenv("KVALON_CUPS_TEST") == nullptr) {
            GTEST_SKIP() << "no CUPS scheduler for the tests";
        }
        env = {{"KVALON_PDF", ""},
               {"HOME", dir.path()},
               {"XDG_DATA_HOME", dir.file("data")},
               {"CUPS_USER", "kvalon-test-" + std::to_string(getpid())}};
    }

    // Waits for a new document of cups-pdf named after `name` with `pages`
    // pages, and removes it. `before` is the folder's files before the job.
    void expect_arrived(const std::string& name, int pages, const std::set<std::string>& before) {
        const std::string folder = test_scheduler_pdf_output();
        std::string arrived;
        const bool whole = wait_until([&] {
            for (const std::string& file : files_in(folder)) {
                if (before.count(file) == 0 && file.find(name) != std::string::npos) {
                    arrived = file;
                    return pdf_pages(file) == pages;
                }
            }
            return false;
        });
        EXPECT_TRUE(whole) << "no new document of " << pages << " pages in " << folder << ": "
                           << arrived;
        if (!arrived.empty()) {
            std::filesystem::remove(arrived);
        }
    }

    TempDir dir;
    std::map<std::string, std::string> env;
};

TEST_F(BatchCups, FindsTheDefaultQueueAndTakesItsPaper) {
    const std::string queue = "KvalonA3" + std::to_string(getpid());
    ASSERT_EQ(run_program({"lpadmin", "-p", queue, "-E", "-v", "cups-pdf:/", "-m",
                           "lsb/usr/cups-pdf/CUPS-PDF_opt.ppd", "-o", "PageSize=A3"})
                  .status,
              0);
    write_bytes(dir.file("REPORT.TXT"), "x\r\n");
    struct Case {
        std::map<std::string, std::string> chosen;
        const char* paper;
    };
    const Case cases[] = {
        {{{"PRINTER", queue}, {"LPDEST", ""}}, "A3, 297 x 420 mm "},
        {{{"LPDEST", queue}, {"PRINTER", "PDF"}}, "A3, 297 x 420 mm "},
        {{{"LPDEST", ""}, {"PRINTER", ""}}, "A4, 210 x 297 mm "},
    };
    for (const Case& c : cases) {
        auto case_env = env;
        case_env.insert(c.chosen.begin(), c.chosen.end());
        const RunResult result =
            run_program({kvalon_binary(), "--plan", dir.file("REPORT.TXT")}, case_env);
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(parse_plan(result.out)["PaperName"], c.paper);
    }
    run_program({"lpadmin", "-x", queue});
}

TEST_F(BatchCups, AThreePageReportArrivesAsOneThreePageDocument) {
    // cups-pdf names its file after the report: a name no other run uses.
    const std::string name = "THREE" + std::to_string(getpid());
    const std::set<std::string> before = files_in(test_scheduler_pdf_output());
    write_bytes(dir.file(name + ".TXT"), "one\r\n\f\r\ntwo\r\n\f\r\nthree\r\n");
    const RunResult result = run_program({kvalon_binary(), dir.file(name + ".TXT")}, env);
    ASSERT_EQ(result.status, 0) << result.err;
    expect_arrived(name, 3, before);
}

// Two pages of PostScript in four lines: printed as text they would be one
// page of source; sent as PostScript, the queue prints its two pages.
TEST_F(BatchCups, APostScriptDocumentPrintsAsPostScript) {
    const std::string name = "TWOPAGES" + std::to_string(getpid());
    const std::set<std::string> before = files_in(test_scheduler_pdf_output());
    write_bytes(dir.file(name + ".PS"), "%!PS-Adobe-3.0\n/Courier findfont 20 scalefont setfont\n"
                                        "72 400 moveto (one) show showpage\n"
                                        "72 400 moveto (two) show showpage\n");
    const RunResult result =
        run_program({kvalon_binary(), "--printer", "PDF", dir.file(name + ".PS")}, env);
    ASSERT_EQ(result.status, 0) << result.err;
    expect_arrived(name, 2, before);
}

// A PCL job of two pages: the cups-pdf queue's driver does not read PCL, so
// the program draws it and the queue prints its two pages; a queue without a
// driver hands it to its printer as it is, unless --render is asked for.
TEST_F(BatchCups, APclJobIsDrawnUnlessTheQueueHandsItToItsPrinter) {
    const std::string name = "PCLJOB" + std::to_string(getpid());
    const std::string job = "\x1b"
                            "E\x1b&l26A\x1b*p300x300YOne\fTwo\x1b"
                            "E";
    write_bytes(dir.file(name + ".PRN"), job);
    const std::set<std::string> before = files_in(test_scheduler_pdf_output());
    const RunResult result =
        run_program({kvalon_binary(), "--printer", "PDF", dir.file(name + ".PRN")}, env);
    ASSERT_EQ(result.status, 0) << result.err;
    expect_arrived(name, 2, before);

    const std::string raw = "KvalonRaw" + std::to_string(getpid());
    ASSERT_EQ(run_program({"lpadmin", "-p", raw, "-E", "-v", "file:/dev/null"}).status, 0);
    const RunResult as_is =
        run_program({kvalon_binary(), "--plan", "--printer", raw, dir.file(name + ".PRN")}, env);
    EXPECT_EQ(as_is.out, "Document=pcl\n") << as_is.err;
    const RunResult drawn = run_program(
        {kvalon_binary(), "--plan", "--render", "--printer", raw, dir.file(name + ".PRN")}, env);
    EXPECT_EQ(parse_plan(drawn.out)["PageCount"], "2") << drawn.err;
    run_program({"lpadmin", "-x", raw});
}

} // namespace
} // namespace kvalon::testing
