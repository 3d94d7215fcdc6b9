// A watcher onto a printer that holds its jobs, on a private scheduler
// (scripts/print-server.sh): the run printing a job outlives a watcher
// killed outright, and no watcher takes that job up again while it runs.
#include "tests/end_to_end/spool_fixture.h"
#include "tests/support/print_service.h"

#include <sstream>
#include <unistd.h>

namespace kvalon::testing {
namespace {

namespace fs = std::filesystem;

class WatchedFolderOnAHeldPrinter : public SpoolFixture {
protected:
    void SetUp() override {
        if (::geteuid() != 0 || !file_exists("/usr/sbin/cupsd")) {
            GTEST_SKIP() << "a private CUPS scheduler needs root and cupsd";
        }
        SpoolFixture::SetUp();
        // The scheduler's programs run as lp and pass through this folder.
        fs::permissions(dir.path(), fs::perms::group_exec | fs::perms::others_exec,
                        fs::perm_options::add);
        const int port = free_port();
        ASSERT_EQ(run_program({script(), "start", dir.file("server"), std::to_string(port)}).status,
                  0);
        started = true;
        server = "127.0.0.1:" + std::to_string(port);
        ASSERT_EQ(run_program({"lpadmin", "-h", server, "-p", "Held", "-E", "-v",
                               "kvalon-test:/held" + dir.file("release")})
                      .status,
                  0);
        env["CUPS_SERVER"] = server;
    }
    void TearDown() override {
        SpoolFixture::TearDown();
        if (started) {
            write_bytes(dir.file("release"), "");
            run_program({script(), "stop", dir.file("server")});
        }
    }

    // The jobs the scheduler has had on the queue, finished ones too.
    int jobs_had() const {
        const RunResult listed = run_program({"lpstat", "-h", server, "-W", "all", "-o", "Held"});
        std::istringstream lines(listed.out);
        int count = 0;
        for (std::string line; std::getline(lines, line);) {
            count += line.rfind("Held-", 0) == 0 ? 1 : 0;
        }
        return count;
    }
    bool claimed(const std::string& name) const {
        return file_exists(in(".kvalon-p-claimed/" + name));
    }

    static std::string script() { return source_dir() + "/scripts/print-server.sh"; }
    bool started = false;
    std::string server;
};

TEST_F(WatchedFolderOnAHeldPrinter, AJobStillPrintingIsLeftToItsRunWhenTheWatcherIsKilled) {
    const std::vector<std::string> watching = {"--printer", "Held",     "--watch",
                                               in(),        "--settle", "0.05"};
    const pid_t killed = start(watching);
    drop("FIRST.TXT", report_named("FIRST"));
    ASSERT_TRUE(wait_until([&] { return jobs_had() == 1; }));
    kill(killed, SIGKILL);
    ended(killed);

    // The second watcher looks at what the first left before it takes a new
    // file: once it holds SECOND, it has seen FIRST and left it to its run.
    const pid_t again = start(watching);
    drop("SECOND.TXT", report_named("SECOND"));
    ASSERT_TRUE(wait_until([&] { return claimed("SECOND.TXT"); }));
    EXPECT_TRUE(claimed("FIRST.TXT"));
    EXPECT_FALSE(log_has("FIRST.TXT: печатът"));

    write_bytes(dir.file("release"), "");
    ASSERT_TRUE(wait_until([&] {
        return file_exists(in("printed/FIRST.TXT")) && file_exists(in("printed/SECOND.TXT"));
    }));
    stop(again);
    EXPECT_TRUE(log_has("FIRST.TXT: печатът към опашката започна преди спирането; опашката има"));
    EXPECT_EQ(jobs_had(), 2);
}

} // namespace
} // namespace kvalon::testing
