// A print service that is not there or does not answer, and printers that
// fail after they took the job: the program tells so and never reports a
// document as printed that was not.
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace kvalon::testing {
namespace {

namespace fs = std::filesystem;

const std::string kPrinterFailed = "Kvalon-P: Печатът не завърши: грешка на принтера ";
const std::string kPaperJam = "; съобщение на принтера: „Paper jam in tray 2“)\n";

std::string report_lines(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += "line " + std::to_string(i) + std::string(50, '.') + "\r\n";
    }
    return text;
}

// A socket on a free loopback port, listening or not.
class LoopbackPort {
public:
    explicit LoopbackPort(bool listen) : m_socket(::socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (::bind(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
            ::getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
            m_port = ntohs(address.sin_port);
        }
        if (listen) {
            ::listen(m_socket, 8);
        } else {
            ::close(m_socket);
            m_socket = -1;
        }
    }
    ~LoopbackPort() {
        if (m_socket >= 0) {
            ::close(m_socket);
        }
    }
    LoopbackPort(const LoopbackPort&) = delete;
    LoopbackPort& operator=(const LoopbackPort&) = delete;
    int port() const { return m_port; }
    std::string server() const { return "127.0.0.1:" + std::to_string(m_port); }

private:
    int m_socket;
    int m_port = 0;
};

// Files come and go while the program runs: a folder that vanishes while
// it is listed holds nothing.
bool holds_a_file(const std::string& folder) {
    try {
        for (const auto& entry : fs::recursive_directory_iterator(folder)) {
            if (entry.is_regular_file()) {
                return true;
            }
        }
    } catch (const fs::filesystem_error&) {
    }
    return false;
}

class PrintService : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directory(temporary());
        // Qt makes a runtime folder of its own in TMPDIR unless it is given a
        // private one.
        fs::create_directory(dir.file("runtime"));
        fs::permissions(dir.file("runtime"), fs::perms::owner_all);
        write_bytes(report(), report_lines(100));
        env = {{"KVALON_PDF", ""},
               {"LPDEST", ""},
               {"PRINTER", ""},
               {"HOME", dir.path()},
               {"XDG_DATA_HOME", dir.file("data")},
               {"XDG_RUNTIME_DIR", dir.file("runtime")},
               {"TMPDIR", temporary()}};
    }
    RunResult print(std::vector<std::string> words) {
        words.insert(words.begin(), {"timeout", "60", kvalon_binary()});
        words.push_back(report());
        return run_program(words, env);
    }
    std::string report() const { return dir.file("REPORT.TXT"); }
    std::string temporary() const { return dir.file("tmp"); }
    TempDir dir;
    std::map<std::string, std::string> env;
};

// An unreachable print service used to read "Няма инсталиран принтер", a
// frozen one the same after two minutes. A listening socket nobody accepts
// on is a service that connects and never answers.
TEST_F(PrintService, AServiceThatDoesNotAnswerIsToldAsSuch) {
    const LoopbackPort nothing_there(false);
    const LoopbackPort frozen(true);
    for (const LoopbackPort* port : {&nothing_there, &frozen}) {
        env["CUPS_SERVER"] = port->server();
        const RunResult result = print({});
        EXPECT_EQ(result.status, 3) << port->server();
        EXPECT_EQ(result.err, "Kvalon-P: Услугата за печат не отговаря: " + port->server() + "\n");
    }
}

// A private scheduler (scripts/print-server.sh) with queues on its test
// printer: one that fails every job, one that takes a minute over each.
class FailingPrinter : public PrintService {
protected:
    void SetUp() override {
        PrintService::SetUp();
        if (::geteuid() != 0 || !file_exists("/usr/sbin/cupsd")) {
            GTEST_SKIP() << "a private CUPS scheduler needs root and cupsd";
        }
        // The scheduler's programs run as lp and pass through this folder.
        fs::permissions(dir.path(), fs::perms::group_exec | fs::perms::others_exec,
                        fs::perm_options::add);
        const LoopbackPort port(false);
        server = port.server();
        if (run_program({script(), "start", dir.file("server"), std::to_string(port.port())})
                .status != 0) {
            GTEST_SKIP() << "the private scheduler did not start";
        }
        started = true;
        const std::pair<const char*, const char*> queues[] = {
            {"Abort", "abort-job"}, {"Stop", "stop-printer"}, {"Slow", "stop-printer"}};
        for (const auto& [queue, policy] : queues) {
            const std::string uri =
                std::string("kvalon-test:/") + (std::string(queue) == "Slow" ? "slow" : "fail");
            ASSERT_EQ(run_program({"lpadmin", "-h", server, "-p", queue, "-E", "-v", uri, "-o",
                                   std::string("printer-error-policy=") + policy})
                          .status,
                      0);
        }
        env["CUPS_SERVER"] = server;
    }
    void TearDown() override {
        if (started) {
            run_program({script(), "stop", dir.file("server")});
        }
    }
    static std::string script() { return source_dir() + "/scripts/print-server.sh"; }
    std::string waiting_jobs(const std::string& queue) {
        return run_program({"lpstat", "-h", server, "-o", queue}).out;
    }
    std::string server;
    bool started = false;
};

// A printer that failed after the queue took the job used to read as success.
TEST_F(FailingPrinter, AJobThePrinterFailsIsAPrinterFailure) {
    const std::pair<std::string, std::string> cases[] = {
        {"Abort", "заданието е прекратено от услугата за печат"},
        {"Stop", "опашката е спряна"},
    };
    for (const auto& [queue, reason] : cases) {
        const RunResult result = print({"--printer", queue});
        EXPECT_EQ(result.status, 5) << queue;
        EXPECT_EQ(result.err, kPrinterFailed + queue + " (" + reason + kPaperJam);
        EXPECT_EQ(waiting_jobs(queue), "") << "nothing left to print later on " << queue;
    }
}

TEST_F(FailingPrinter, AJobStillWaitingIsToldWhenTheProgramStopsWatching) {
    env["KVALON_JOB_WAIT"] = "1";
    const RunResult result = print({"--printer", "Slow"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "Kvalon-P: Програмата спря да следи заданието на опашка Slow след 1 "
                          "с; то още не е отпечатано\n");
}

// TERM used to leave Qt's spool file of the job in the temporary folder.
TEST_F(FailingPrinter, AnEndingSignalLeavesNoSpoolFile) {
    write_bytes(report(), report_lines(30000));
    const pid_t program = ::fork();
    if (program == 0) {
        for (const auto& [name, value] : env) {
            value.empty() ? ::unsetenv(name.c_str()) : ::setenv(name.c_str(), value.c_str(), 1);
        }
        const std::string binary = kvalon_binary();
        ::execl(binary.c_str(), binary.c_str(), "--printer", "Slow", report().c_str(),
                static_cast<char*>(nullptr));
        ::_exit(127);
    }
    for (int i = 0; i < 1000 && !holds_a_file(temporary()); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_TRUE(holds_a_file(temporary())) << "the spool file shows while the job is drawn";
    ::kill(program, SIGTERM);
    int status = 0;
    ::waitpid(program, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
    EXPECT_TRUE(fs::is_empty(temporary()));
}

} // namespace
} // namespace kvalon::testing
