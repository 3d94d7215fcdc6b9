#include "tests/end_to_end/spool_fixture.h"
#include "tests/support/pdf_tools.h"
#include "tests/support/print_service.h"

#include <cstdlib>
#include <unistd.h>

namespace kvalon::testing {
namespace {

// Against the test scheduler (scripts/run-tests.sh): its queue "PDF" writes
// each job's document into a folder of its own.
class WatchedFolderOnAQueue : public SpoolFixture {
protected:
    void SetUp() override {
        if (std::getenv("KVALON_CUPS_TEST") == nullptr) {
            GTEST_SKIP() << "no CUPS scheduler for the tests";
        }
        SpoolFixture::SetUp();
        env["CUPS_USER"] = "kvalon-watch-" + std::to_string(getpid());
    }

    // The scheduler's documents made from the file `name`.
    std::vector<std::string> documents_of(const std::string& name) const {
        std::vector<std::string> found;
        for (const std::string& file : files_in(test_scheduler_pdf_output())) {
            if (file.find(name) != std::string::npos) {
                found.push_back(file);
            }
        }
        return found;
    }
};

// Killed after the queue took the job and before the journal said so, the
// watcher started again asks the queue, finds the job and prints it no more.
TEST_F(WatchedFolderOnAQueue, AJobTheQueueHasIsNotPrintedAgainAfterACrash) {
    const std::string name = "QW" + std::to_string(getpid()) + ".TXT";
    const std::vector<std::string> watching = {"--printer", "PDF",      "--watch",
                                               in(),        "--settle", "0.2"};
    const pid_t killed = start(watching, {{"KVALON_TEST_WATCH_STOP_AT", "printed"}});
    drop(name, report_named("QUEUE"));
    EXPECT_EQ(ended(killed), 128 + SIGKILL);

    const pid_t again = start(watching);
    ASSERT_TRUE(wait_until([&] { return file_exists(in("printed/" + name)); }));
    stop(again);
    EXPECT_TRUE(log_has(name + ": печатът към опашката започна преди спирането; опашката има"));
    ASSERT_TRUE(wait_until([&] { return !documents_of(name).empty(); }));
    const std::vector<std::string> documents = documents_of(name);
    EXPECT_EQ(documents.size(), 1u);
    for (const std::string& document : documents) {
        std::filesystem::remove(document);
    }
}

// A queue does not tell how many pages it printed: the job's run does, and
// the line has the shape a PDF printer's has.
TEST_F(WatchedFolderOnAQueue, TheLogLineOfAQueueJobTellsItsPages) {
    const std::string name = "QP" + std::to_string(getpid()) + ".TXT";
    const pid_t watcher = start({"--printer", "PDF", "--watch", in(), "--settle", "0.2"});
    drop(name, report_named("ONE") + "\f" + report_named("TWO"));
    ASSERT_TRUE(wait_until([&] { return file_exists(in("printed/" + name)); }));
    stop(watcher);
    EXPECT_TRUE(log_has(name + ": отпечатан, 2 стр., към PDF, за ")) << read_bytes(log());
    ASSERT_TRUE(wait_until([&] { return !documents_of(name).empty(); }));
    for (const std::string& document : documents_of(name)) {
        std::filesystem::remove(document);
    }
}

} // namespace
} // namespace kvalon::testing
