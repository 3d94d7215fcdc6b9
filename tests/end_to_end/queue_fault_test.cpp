// Faults of a print queue: told before anything is sent when the queue
// refuses, and never success when the queue goes away while the report is
// drawn. They run on the test scheduler (scripts/run-tests.sh), on queues of
// their own; the shared "PDF" queue is left alone.
#include "tests/support/print_service.h"
#include "tests/support/test_files.h"
#include "tests/support/wait_until.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <unistd.h>

namespace kvalon::testing {
namespace {

const std::string kPrinterFailed = "Kvalon-P: Печатът не завърши: грешка на принтера ";

class QueueFault : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::getenv("KVALON_CUPS_TEST") == nullptr) {
            GTEST_SKIP() << "needs the test CUPS scheduler (scripts/run-tests.sh as root)";
        }
        write_report(200);
        std::filesystem::create_directory(temporary());
        queue = "KvalonFault" + std::to_string(::getpid());
        ASSERT_EQ(run_program({"lpadmin", "-p", queue, "-E", "-v", "cups-pdf:/", "-m",
                               "lsb/usr/cups-pdf/CUPS-PDF_opt.ppd"})
                      .status,
                  0);
    }
    void TearDown() override {
        if (!queue.empty()) {
            run_program({"lpadmin", "-x", queue});
        }
    }
    void write_report(int lines) {
        std::string text;
        for (int i = 0; i < lines; ++i) {
            text += "line " + std::to_string(i) + std::string(50, '.') + "\r\n";
        }
        write_bytes(report(), text);
    }
    // The document for the queue is drawn into a file in TMPDIR; it appears
    // once the queue has been asked and the first page is begun.
    RunResult print_on_queue() {
        return run_program({kvalon_binary(), "--printer", queue, report()},
                           {{"KVALON_PDF", ""},
                            {"HOME", dir.path()},
                            {"XDG_RUNTIME_DIR", dir.path()},
                            {"TMPDIR", temporary()}});
    }
    // Jobs of the queue that would still print.
    std::string waiting_jobs() { return run_program({"lpstat", "-o", queue}).out; }
    std::string report() const { return dir.file("REPORT.TXT"); }
    std::string temporary() const { return dir.file("tmp"); }
    TempDir dir;
    std::string queue;
};

TEST_F(QueueFault, AStoppedOrRefusingQueueIsToldBeforeAnythingIsSent) {
    const std::pair<const char*, const char*> cases[] = {
        {"cupsdisable", "опашката е спряна"}, {"cupsreject", "опашката не приема задания"}};
    for (const auto& [command, reason] : cases) {
        run_program({"cupsenable", queue});
        run_program({"cupsaccept", queue});
        ASSERT_EQ(run_program({command, queue}).status, 0);
        const RunResult result = print_on_queue();
        EXPECT_EQ(result.status, 5) << command;
        EXPECT_NE(result.err.find(kPrinterFailed + queue + " (" + reason + ")"), std::string::npos)
            << command << ": " << result.err;
        EXPECT_EQ(waiting_jobs(), "") << command;
    }
}

TEST_F(QueueFault, AQueueDeletedWhileTheReportIsDrawnIsNeverSuccess) {
    write_report(60000);
    RunResult result;
    std::atomic<bool> finished = false;
    std::thread program([&] {
        result = print_on_queue();
        finished = true;
    });
    // The job shows on the queue from the first page on, while the rest of
    // the document is drawn and sent.
    bool drawing = false;
    wait_until([&] {
        drawing = !waiting_jobs().empty();
        return drawing || finished;
    });
    ASSERT_EQ(run_program({"lpadmin", "-x", queue}).status, 0);
    program.join();
    queue.clear();
    ASSERT_TRUE(drawing) << "the queue went away only after the program ended: " << result.err;
    EXPECT_EQ(result.status, 5);
    EXPECT_NE(result.err.find(kPrinterFailed), std::string::npos) << result.err;
}

} // namespace
} // namespace kvalon::testing
