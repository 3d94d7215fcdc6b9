#include "tests/support/pdf_tools.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <set>
#include <thread>
#include <unistd.h>

namespace kvalon::testing {
namespace {

// These run against the scheduler the test runner starts (a cups-pdf queue
// "PDF" as the server default) and skip themselves without it.
class BatchCups : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::getenv("KVALON_CUPS_TEST") == nullptr) {
            GTEST_SKIP() << "no CUPS scheduler for the tests";
        }
        env = {{"KVALON_PDF", ""}, {"HOME", dir.path()}, {"XDG_DATA_HOME", dir.file("data")}};
    }

    // cups-pdf writes into the PDF folder of the submitting user's home.
    static std::string cups_pdf_folder() {
        const passwd* user = getpwuid(getuid());
        return std::string(user != nullptr ? user->pw_dir : "/root") + "/PDF";
    }

    static std::set<std::string> files_in(const std::string& folder) {
        std::set<std::string> names;
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
            names.insert(entry.path().string());
        }
        return names;
    }

    TempDir dir;
    std::map<std::string, std::string> env;
};

TEST_F(BatchCups, FindsTheDefaultQueueAndTakesItsPaper) {
    const std::string queue = "KvalonLetter" + std::to_string(getpid());
    ASSERT_EQ(run_program({"lpadmin", "-p", queue, "-E", "-v", "cups-pdf:/", "-m",
                           "lsb/usr/cups-pdf/CUPS-PDF_opt.ppd", "-o", "PageSize=Letter"})
                  .status,
              0);
    write_bytes(dir.file("REPORT.TXT"), "x\r\n");
    struct Case {
        std::map<std::string, std::string> chosen;
        const char* paper;
    };
    const Case cases[] = {
        {{{"PRINTER", queue}, {"LPDEST", ""}}, "Letter, 8 1/2 x 11 in. "},
        {{{"LPDEST", queue}, {"PRINTER", "PDF"}}, "Letter, 8 1/2 x 11 in. "},
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
    const std::string folder = cups_pdf_folder();
    const std::set<std::string> before = files_in(folder);
    write_bytes(dir.file("THREE.TXT"), "one\r\n\f\r\ntwo\r\n\f\r\nthree\r\n");
    const RunResult result = run_program({kvalon_binary(), dir.file("THREE.TXT")}, env);
    ASSERT_EQ(result.status, 0) << result.err;
    bool arrived = false;
    for (int tries = 0; tries < 100 && !arrived; ++tries) {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        for (const std::string& file : files_in(folder)) {
            if (before.count(file) == 0 && pdf_pages(file) == 3) {
                arrived = true;
            }
        }
    }
    EXPECT_TRUE(arrived) << "no new three-page document in " << folder;
}

} // namespace
} // namespace kvalon::testing
