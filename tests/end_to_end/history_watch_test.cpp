// A watched folder's jobs are kept like a batch print's: each by the run
// that prints it.
#include "tests/end_to_end/spool_fixture.h"
#include "tests/support/child_process.h"
#include "tests/support/pdf_tools.h"

namespace kvalon::testing {
namespace {

class HistoryWatchTest : public SpoolFixture {};

TEST_F(HistoryWatchTest, AWatchedJobIsKeptAndPrintsAgain) {
    const std::map<std::string, std::string> kept{{"XDG_STATE_HOME", dir.file("state")},
                                                  {"KVALON_HISTORY_DAYS", "14"}};
    const pid_t watcher = start({"--pdf", out(), "--watch", in(), "--settle", "0.2"}, kept);
    drop("SKLAD.TXT", to_mik("Склад\r\n\fВтора\r\n"));
    ASSERT_TRUE(wait_until([&] { return file_exists(in("printed/SKLAD.TXT")); }));
    stop(watcher);

    std::map<std::string, std::string> env_kept = env;
    env_kept.insert(kept.begin(), kept.end());
    const RunResult listed = run_program({kvalon_binary(), "--history"}, env_kept);
    ASSERT_EQ(listed.status, 0) << listed.err;
    EXPECT_NE(listed.out.find("  " + in("SKLAD.TXT") + "  2 стр.  PDF " + out("SKLAD.pdf") +
                              "  отпечатано"),
              std::string::npos)
        << listed.out;
    const RunResult again =
        run_program({kvalon_binary(), "--reprint", "1", "--pdf", dir.file("again.pdf")}, env_kept);
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(pdf_lines(dir.file("again.pdf")), pdf_lines(out("SKLAD.pdf")));
}

} // namespace
} // namespace kvalon::testing
