// The jobs kept for printing again, as the user meets them: printed, listed
// with --history, printed again with --reprint N, and never in the way of a
// print when they cannot be kept.
#include "tests/end_to_end/pdf_run.h"
#include "tests/support/child_process.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kvalon::testing {
namespace {

class HistoryRun : public ::testing::Test {
protected:
    RunResult run(std::vector<std::string> words, std::map<std::string, std::string> env = {}) {
        words.insert(words.begin(), kvalon_binary());
        env.emplace("HOME", dir.path());
        env.emplace("XDG_STATE_HOME", dir.file("state"));
        env.emplace("KVALON_HISTORY_DAYS", "14");
        env.emplace("KVALON_PDF", "");
        return run_program(words, env, {}, dir.path());
    }
    std::string report() {
        const std::string path = dir.file("ОТЧЕТ.TXT");
        write_bytes(path, to_mik("Първа страница\r\n\fВтора страница\r\n\fТрета\r\n"));
        return path;
    }
    std::size_t kept_jobs() const {
        std::size_t count = 0;
        const std::string history = dir.file("state/kvalon-p/history");
        if (std::filesystem::exists(history)) {
            for ([[maybe_unused]] const auto& entry :
                 std::filesystem::directory_iterator(history)) {
                ++count;
            }
        }
        return count;
    }
    TempDir dir;
};

TEST_F(HistoryRun, APrintedJobIsListedAndPrintsAgainAsItDid) {
    const std::string path = report();
    ASSERT_EQ(run({"--pdf=first.pdf", "--fit-pages", path}).status, 0);
    write_bytes(path, "changed since"); // the kept bytes print, not the file as it is now
    const RunResult listed = run({"--history"});
    ASSERT_EQ(listed.status, 0) << listed.err;
    EXPECT_NE(listed.out.find("  1  "), std::string::npos) << listed.out;
    EXPECT_NE(listed.out.find(path + "  3 стр.  PDF " + dir.file("first.pdf") + "  отпечатано"),
              std::string::npos)
        << listed.out;

    const RunResult again = run({"--reprint", "1", "--pdf", "again.pdf"});
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(pdf_lines(dir.file("again.pdf")), pdf_lines(dir.file("first.pdf")));
    EXPECT_EQ(pdf_pages(dir.file("again.pdf")), 3);
    EXPECT_EQ(pdf_info(dir.file("again.pdf"))["Title"], pdf_info(dir.file("first.pdf"))["Title"]);
    EXPECT_EQ(kept_jobs(), 1U); // a job printed again is not kept twice

    // Without a printer given, the recorded one: the first PDF, written anew.
    std::filesystem::remove(dir.file("first.pdf"));
    ASSERT_EQ(run({"--reprint=1"}).status, 0);
    EXPECT_EQ(pdf_pages(dir.file("first.pdf")), 3);

    // A PDF file the environment names is where the job went, as --pdf's is.
    ASSERT_EQ(run({path}, {{"KVALON_PDF", dir.file("env.pdf")}}).status, 0);
    EXPECT_NE(run({"--history"}).out.find("PDF " + dir.file("env.pdf") + "  отпечатано"),
              std::string::npos);
}

TEST_F(HistoryRun, AJobNumberPastTheListIsRefused) {
    for (int n = 0; n < 3; ++n) {
        ASSERT_EQ(run({"--pdf=out" + std::to_string(n) + ".pdf", report()}).status, 0);
    }
    for (const std::string number : {"999", "4", "0", "x"}) {
        const RunResult refused = run({"--reprint", number});
        EXPECT_EQ(refused.status, 2) << number;
        EXPECT_NE(refused.err.find("--reprint " + number), std::string::npos) << refused.err;
    }
    EXPECT_NE(run({"--reprint", "999"}).err.find("1..3"), std::string::npos);
}

TEST_F(HistoryRun, ZeroTurnsKeepingOffAndAnUnusableStateFolderStillPrints) {
    for (const char* variable : {"KVALON_HISTORY_DAYS", "KVALON_HISTORY_MB"}) {
        std::map<std::string, std::string> off{{variable, "0"}};
        ASSERT_EQ(run({"--pdf=off.pdf", report()}, off).status, 0);
        EXPECT_EQ(kept_jobs(), 0U);
        const RunResult listed = run({"--history"}, off);
        EXPECT_EQ(listed.status, 0);
        EXPECT_NE(listed.out.find("изключено"), std::string::npos) << listed.out;
        const RunResult reprint = run({"--reprint", "1"}, off);
        EXPECT_EQ(reprint.status, 2);
        EXPECT_NE(reprint.err.find("изключено"), std::string::npos) << reprint.err;
    }

    write_bytes(dir.file("not-a-folder"), "");
    const RunResult printed =
        run({"--pdf=kept.pdf", report()}, {{"XDG_STATE_HOME", dir.file("not-a-folder")}});
    EXPECT_EQ(printed.status, 0) << printed.err;
    EXPECT_EQ(pdf_pages(dir.file("kept.pdf")), 3);
    EXPECT_EQ(std::count(printed.err.begin(), printed.err.end(), '\n'), 1) << printed.err;
    EXPECT_NE(printed.err.find("не е запазено"), std::string::npos) << printed.err;
}

TEST_F(HistoryRun, AFailedJobIsKeptWithItsReasonAndStandardInputByItsName) {
    const RunResult piped = run_program({kvalon_binary(), "--pdf=piped.pdf", "-"},
                                        {{"HOME", dir.path()},
                                         {"XDG_STATE_HOME", dir.file("state")},
                                         {"KVALON_HISTORY_DAYS", "14"}},
                                        to_mik("от входа\r\n"), dir.path());
    ASSERT_EQ(piped.status, 0) << piped.err;
    // The PDF cannot be written: the folder it names is none.
    EXPECT_NE(run({"--pdf=" + dir.file("none/x.pdf"), report()}).status, 0);
    const std::string listed = run({"--history"}).out;
    const std::size_t failed = listed.find("не е отпечатано: ");
    const std::size_t piped_line = listed.find("стандартен вход  1 стр.");
    ASSERT_NE(failed, std::string::npos) << listed;
    ASSERT_NE(piped_line, std::string::npos) << listed;
    EXPECT_LT(failed, piped_line); // newest first
}

} // namespace
} // namespace kvalon::testing
