#pragma once

// The office queue on a private scheduler, shared by the tests that print
// through it.
#include "tests/support/child_process.h"
#include "tests/support/pdf_tools.h"
#include "tests/support/print_service.h"
#include "tests/support/test_files.h"
#include "tests/support/wait_until.h"

#include <gtest/gtest.h>

#include <cups/cups.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

namespace kvalon::testing {

inline const std::string kLpdDaemon = "/usr/lib/cups/daemon/cups-lpd";

// A scheduler of its own on 127.0.0.1 (scripts/print-server.sh) that runs
// the program's backend for kvalon:/ queues and has a cups-pdf queue
// "Remote"; the queue "Kvalon" is made on it by --setup-queue.
class OfficeQueue : public ::testing::Test {
protected:
    void SetUp() override {
        if (getuid() != 0 || !file_exists("/usr/sbin/cupsd") ||
            !file_exists("/usr/lib/cups/backend/cups-pdf") || !file_exists(kLpdDaemon)) {
            GTEST_SKIP() << "the office queue needs root, cupsd, cups-pdf and cups-lpd";
        }
        std::filesystem::permissions(
            dir.path(), std::filesystem::perms::group_exec | std::filesystem::perms::others_exec,
            std::filesystem::perm_options::add);
        port = free_port();
        const RunResult started = run_program(
            {script(), "start", dir.file("server"), std::to_string(port), "Remote", backend()},
            {{"KVALON_SERVER_ENV", backend_waits()}});
        // With everything it needs present, a scheduler that does not start is
        // a fault of the script (an installed backend once was one), not a skip.
        ASSERT_EQ(started.status, 0) << "the scheduler did not start: " << started.err;
        server = "127.0.0.1:" + std::to_string(port);
        user = "kvalon-office-" + std::to_string(getpid());
        tag = "office" + std::to_string(getpid());
        env = {{"CUPS_SERVER", server}, {"HOME", dir.path()}, {"XDG_DATA_HOME", dir.file("data")}};
        http = httpConnect2("127.0.0.1", port, nullptr, AF_INET, HTTP_ENCRYPTION_IF_REQUESTED, 1,
                            30000, nullptr);
        ASSERT_NE(http, nullptr);
        const RunResult setup = kvalon({"--setup-queue", "Kvalon", "Remote"});
        ASSERT_EQ(setup.status, 0) << setup.err;
        EXPECT_NE(setup.out.find("-d Kvalon -o raw"), std::string::npos) << setup.out;
    }

    void TearDown() override {
        httpClose(http);
        run_program({script(), "stop", dir.file("server")});
    }

    static std::string script() { return source_dir() + "/scripts/print-server.sh"; }
    static std::string backend() {
        return (std::filesystem::path(kvalon_binary()).parent_path() / "kvalon").string();
    }
    // What the scheduler sets for its backends (KVALON_SERVER_ENV).
    virtual std::string backend_waits() const { return {}; }

    RunResult kvalon(std::vector<std::string> words) {
        words.insert(words.begin(), kvalon_binary());
        return run_program(words, env);
    }

    RunResult submit(const std::string& title, const std::string& report,
                     const std::vector<std::string>& options = {},
                     const std::string& queue = "Kvalon") {
        write_bytes(dir.file(title), report);
        std::vector<std::string> words = {"lp", "-h", server, "-d", queue, "-U",
                                          user, "-t", title,  "-o", "raw"};
        for (const std::string& option : options) {
            words.insert(words.end(), {"-o", option});
        }
        words.push_back(dir.file(title));
        return run_program(words);
    }

    // Waits until job `id` has ended and returns its state (0 when it did not).
    int ended(int id) {
        int state = 0;
        wait_until([&] {
            cups_job_t* jobs = nullptr;
            const int count = cupsGetJobs2(http, &jobs, nullptr, 0, CUPS_WHICHJOBS_ALL);
            for (int j = 0; j < count; ++j) {
                if (jobs[j].id == id && jobs[j].state >= IPP_JSTATE_CANCELED) {
                    state = jobs[j].state;
                }
            }
            cupsFreeJobs(count, jobs);
            return state != 0;
        });
        return state;
    }

    // The document job `id` holds, as the scheduler keeps it after printing.
    std::string document_of(int id) const {
        char name[32];
        std::snprintf(name, sizeof name, "d%05d-001", id);
        return dir.file("server/spool/") + name;
    }

    // What `kvalon-p REPORT` prints here on the destination's A4 paper.
    std::vector<std::string> printed_here(const std::string& report) {
        write_bytes(dir.file("here.txt"), report);
        EXPECT_EQ(kvalon({"--pdf", dir.file("here.pdf"), dir.file("here.txt")}).status, 0);
        return pdf_lines(dir.file("here.pdf"));
    }

    // The document format the scheduler holds job `id` in.
    std::string format_of(int id) const {
        ipp_t* request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
        const std::string uri = "ipp://localhost/jobs/" + std::to_string(id);
        ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri.c_str());
        ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr,
                     "document-format");
        ipp_t* response = cupsDoRequest(http, request, "/");
        ipp_attribute_t* format = ippFindAttribute(response, "document-format", IPP_TAG_MIMETYPE);
        const char* text = format != nullptr ? ippGetString(format, 0, nullptr) : nullptr;
        std::string value = text != nullptr ? text : "";
        ippDelete(response);
        return value;
    }

    std::string status_line_of(int id, const std::string& queue = "Kvalon") {
        const RunResult listed = run_program({"lpstat", "-h", server, "-W", "all", "-l", "-o"});
        const std::string job = queue + "-" + std::to_string(id) + " ";
        const std::size_t at = listed.out.find(job);
        const std::size_t status = listed.out.find("Status:", at);
        return at == std::string::npos || status == std::string::npos
                   ? std::string()
                   : listed.out.substr(status, listed.out.find('\n', status) - status);
    }

    TempDir dir;
    int port = 0;
    std::string server;
    std::string user;
    std::string tag; // begins the title of every job, and so every file cups-pdf writes
    std::map<std::string, std::string> env;
    http_t* http = nullptr;
};

} // namespace kvalon::testing
