#include "tests/support/pdf_tools.h"
#include "tests/support/print_service.h"
#include "tests/support/test_files.h"
#include "tests/support/wait_until.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <regex>
#include <set>
#include <thread>
#include <unistd.h>

namespace kvalon::testing {
namespace {

// A second scheduler on 127.0.0.1 with its own folders and one cups-pdf queue
// "Remote" as its default (scripts/print-server.sh), whose PDFs land in a
// folder of its own. The program reaches it only through CUPS_SERVER.
class PrintServer : public ::testing::Test {
protected:
    void SetUp() override {
        if (getuid() != 0 || !file_exists("/usr/sbin/cupsd") ||
            !file_exists("/usr/lib/cups/backend/cups-pdf")) {
            GTEST_SKIP() << "a second CUPS scheduler needs root, cupsd and cups-pdf";
        }
        // The scheduler's filters run as lp and read the spool through this folder.
        std::filesystem::permissions(
            dir.path(), std::filesystem::perms::group_exec | std::filesystem::perms::others_exec,
            std::filesystem::perm_options::add);
        port = free_port();
        const RunResult started =
            run_program({script(), "start", dir.file("server"), std::to_string(port)});
        ASSERT_EQ(started.status, 0) << "the second scheduler did not start: " << started.err;
        server = "127.0.0.1:" + std::to_string(port);
        env = {{"CUPS_SERVER", server},
               {"CUPS_USER", "kvalon-remote-" + std::to_string(getpid())},
               {"LPDEST", ""},
               {"PRINTER", ""},
               {"KVALON_PDF", ""},
               {"HOME", dir.path()},
               {"XDG_DATA_HOME", dir.file("data")}};
        // cups-pdf names its file after the document, which is named after
        // the report.
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        report_name = std::string(test->name()).substr(0, 8) + std::to_string(getpid());
        write_bytes(report(), "one\r\n\f\r\ntwo\r\n\f\r\nthree\r\n");
    }

    void TearDown() override { run_program({script(), "stop", dir.file("server")}); }

    static std::string script() { return source_dir() + "/scripts/print-server.sh"; }
    std::string report() const { return dir.file(report_name + ".TXT"); }

    RunResult print(std::vector<std::string> words) {
        words.insert(words.begin(), kvalon_binary());
        return run_program(words, env);
    }

    // The one job the second scheduler has had, once it lists it as
    // completed (by then cups-pdf has finished its file: it writes it in
    // place, and a half written PDF already shows its first pages); 0 when
    // none completed.
    int completed_job() const {
        std::vector<std::string> jobs;
        wait_until([&] {
            jobs = completed_jobs(server);
            return !jobs.empty();
        });
        const std::string prefix = "Remote-";
        if (jobs.size() != 1 || jobs.front().rfind(prefix, 0) != 0) {
            return 0;
        }
        return std::stoi(jobs.front().substr(prefix.size()));
    }

    // The PDF cups-pdf wrote for job `id`; empty when none came.
    std::string arrived_document(int id) const {
        const std::regex name(".*" + report_name + ".*-job_" + std::to_string(id) + "[.]pdf",
                              std::regex::icase);
        for (const std::string& file : files_in(cups_pdf_output(dir.file("server")))) {
            if (std::regex_match(file, name)) {
                return file;
            }
        }
        return {};
    }

    // The number of copies the scheduler recorded for job `id`: the integer
    // attribute "copies" in the job's control file.
    int recorded_copies(int id) const {
        char name[16];
        std::snprintf(name, sizeof name, "c%05d", id);
        const std::string tag = std::string("\x21\x00\x06"
                                            "copies\x00\x04",
                                            11);
        // The scheduler writes the file a moment after the job is queued.
        std::string control;
        std::size_t at = std::string::npos;
        wait_until([&] {
            control = read_bytes(dir.file("server/spool/") + name);
            at = control.find(tag);
            return at != std::string::npos;
        });
        if (at == std::string::npos || at + tag.size() + 4 > control.size()) {
            return 0;
        }
        int value = 0;
        for (std::size_t i = 0; i < 4; ++i) {
            value = value * 256 + static_cast<unsigned char>(control[at + tag.size() + i]);
        }
        return value;
    }

    TempDir dir;
    int port = 0;
    std::string server;
    std::string report_name;
    std::map<std::string, std::string> env;
};

TEST_F(PrintServer, TheDefaultQueueThereGetsTheWholeReport) {
    env["KVALON_PDF"] = dir.file("local.pdf");
    ASSERT_EQ(print({"--pdf", dir.file("local.pdf"), report()}).status, 0);
    const int pages = pdf_pages(dir.file("local.pdf"));
    ASSERT_EQ(pages, 3);
    env["KVALON_PDF"] = "";

    const RunResult result = print({report()});
    ASSERT_EQ(result.status, 0) << result.err;
    const int job = completed_job();
    ASSERT_NE(job, 0) << "the second scheduler did not complete the one job";
    const std::string arrived = arrived_document(job);
    ASSERT_FALSE(arrived.empty()) << "no PDF from the second scheduler";
    EXPECT_EQ(pdf_pages(arrived), pages);
}

TEST_F(PrintServer, ANamedQueueWinsOverThePdfPrinterAndTakesCopies) {
    env["KVALON_PDF"] = dir.file("local.pdf");
    const RunResult result = print({"--printer", "Remote", "--copies", "2", report()});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_FALSE(file_exists(dir.file("local.pdf")));
    const int job = completed_job();
    ASSERT_NE(job, 0) << "the second scheduler did not complete the one job";
    EXPECT_EQ(recorded_copies(job), 2);
    const std::string arrived = arrived_document(job);
    ASSERT_FALSE(arrived.empty()) << "no PDF from the second scheduler";
    EXPECT_EQ(pdf_pages(arrived), 6); // two collated copies of three pages
}

TEST_F(PrintServer, OnlyThatServersQueuesAreListed) {
    // The scheduler of the other tests has a queue "PDF"; this one has not.
    const RunResult result = print({"--printer", "PDF", report()});
    EXPECT_EQ(result.status, 5);
    EXPECT_NE(result.err.find("PDF"), std::string::npos) << result.err;
    EXPECT_TRUE(completed_jobs(server).empty());
}

// The scheduler stopped once the document is being drawn: the job it never
// took is never reported as printed.
TEST_F(PrintServer, ASchedulerStoppedMidRunIsNeverSuccess) {
    std::string lines;
    for (int i = 0; i < 60000; ++i) {
        lines += "line " + std::to_string(i) + std::string(50, '.') + "\r\n";
    }
    write_bytes(report(), lines);
    RunResult result;
    std::atomic<bool> finished = false;
    std::thread program([&] {
        result = print({report()});
        finished = true;
    });
    // The job shows on the queue from the first page on, while the rest of
    // the document is drawn and sent.
    bool drawing = false;
    wait_until([&] {
        drawing = !run_program({"lpstat", "-h", server, "-o"}).out.empty();
        return drawing || finished;
    });
    run_program({script(), "stop", dir.file("server")});
    program.join();
    ASSERT_TRUE(drawing) << "the scheduler stopped only after the program ended: " << result.err;
    EXPECT_EQ(result.status, 5);
    EXPECT_NE(result.err.find("Kvalon-P: Печатът не завърши: грешка на принтера Remote ("),
              std::string::npos)
        << result.err;
}

} // namespace
} // namespace kvalon::testing
