// Faults of the disk and of the print service: a clear message, a non-zero
// status, and never a file or a job that passes for the whole report.
#include "tests/support/pdf_tools.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace kvalon::testing {
namespace {

const std::string kCannotWrite = "Kvalon-P: Файлът не може да бъде записан: ";
const std::string kPrinterFailed = "Kvalon-P: Печатът не завърши: грешка на принтера ";

std::string report_lines(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += "line " + std::to_string(i) + std::string(50, '.') + "\r\n";
    }
    return text;
}

// Root writes anywhere; without this capability it obeys the permissions.
std::vector<std::string> obeying_permissions(std::vector<std::string> words) {
    if (::geteuid() == 0) {
        words.insert(words.begin(), {"setpriv", "--bounding-set=-dac_override", "--"});
    }
    return words;
}

class Fault : public ::testing::Test {
protected:
    void SetUp() override { write_bytes(report(), report_lines(200)); }
    RunResult print_to(const std::string& target, std::vector<std::string> words = {}) {
        if (words.empty()) {
            words = {kvalon_binary(), report()};
        }
        return run_program(words, {{"KVALON_PDF", target}, {"HOME", dir.path()}});
    }
    std::string report() const { return dir.file("REPORT.TXT"); }
    int planned_pages() {
        const RunResult planned = run_program({kvalon_binary(), "--plan", report()},
                                              {{"KVALON_PDF", dir.file("plan.pdf")}});
        return std::stoi(parse_plan(planned.out).at("PageCount"));
    }
    TempDir dir;
};

TEST_F(Fault, APdfTargetThatCannotBeWrittenIsNamedWithTheReason) {
    std::filesystem::create_directory(dir.file("locked"));
    ::chmod(dir.file("locked").c_str(), 0555);
    struct Case {
        std::string target;
        std::vector<std::string> words;
        std::string reason;
    };
    const Case cases[] = {
        {dir.file("locked/out.pdf"), obeying_permissions({kvalon_binary(), report()}),
         "отказан достъп"},
        {dir.file("no/such/folder/out.pdf"), {}, "няма такъв файл или папка"},
        {dir.path(), {}, "това е папка"},
        {"/dev/full", {}, "няма свободно място"},
    };
    for (const Case& c : cases) {
        const RunResult result = print_to(c.target, c.words);
        EXPECT_EQ(result.status, 5) << c.target;
        EXPECT_NE(result.err.find(kCannotWrite + c.target + " (" + c.reason + ")"),
                  std::string::npos)
            << c.target << ": " << result.err;
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir.file("locked")));
    struct stat device {};
    ASSERT_EQ(::stat("/dev/full", &device), 0);
    EXPECT_TRUE(S_ISCHR(device.st_mode)) << "the device itself must never be replaced";
}

TEST_F(Fault, AStreamTargetGetsTheWholeDocument) {
    const RunResult result = print_to("/dev/stdout");
    ASSERT_EQ(result.status, 0) << result.err;
    write_bytes(dir.file("piped.pdf"), result.out);
    EXPECT_EQ(pdf_pages(dir.file("piped.pdf")), planned_pages());
}

// A file system that fills up in the middle of the document.
class FullDisk : public Fault {
protected:
    void SetUp() override {
        Fault::SetUp();
        if (::geteuid() != 0) {
            GTEST_SKIP() << "mounting a small file system needs root";
        }
        std::filesystem::create_directory(mount_point());
        if (run_program({"mount", "-t", "tmpfs", "-o", "size=64k", "tmpfs", mount_point()})
                .status != 0) {
            GTEST_SKIP() << "no tmpfs mount here";
        }
        mounted = true;
    }
    void TearDown() override {
        if (mounted) {
            run_program({"umount", mount_point()});
        }
    }
    std::string mount_point() const { return dir.file("small"); }
    bool mounted = false;
};

TEST_F(FullDisk, FailsWithoutTouchingTheEarlierDocument) {
    write_bytes(report(), report_lines(6000));
    const std::string target = mount_point() + "/out.pdf";
    write_bytes(target, "the earlier document");
    const RunResult result = print_to(target);
    EXPECT_EQ(result.status, 5);
    EXPECT_NE(result.err.find(kCannotWrite + target + " (няма свободно място)"),
              std::string::npos)
        << result.err;
    EXPECT_EQ(read_bytes(target), "the earlier document");
    EXPECT_FALSE(file_exists(mount_point() + "/.out.pdf.part"));
}

TEST_F(Fault, AnAnswerFolderThatCannotBeWrittenIsNamed) {
    std::filesystem::create_directory(dir.file("locked"));
    const std::string source = dir.file("locked/REPORT.TXT");
    write_bytes(source, report_lines(3));
    ::chmod(dir.file("locked").c_str(), 0555);
    const RunResult result =
        print_to(dir.file("out.pdf"), obeying_permissions({kvalon_binary(), source, "1"}));
    EXPECT_EQ(result.status, 5);
    EXPECT_NE(
        result.err.find(kCannotWrite + dir.file("locked/TMPPRNT1.TMP") + " (отказан достъп)"),
        std::string::npos)
        << result.err;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.file("locked")),
                            std::filesystem::directory_iterator()),
              1)
        << "only the report itself";
}

TEST_F(Fault, AFontsFolderThatCannotBeUsedDoesNotStopThePrint) {
    std::filesystem::create_directories(dir.file("ro/fonts"));
    ::chmod(dir.file("ro/fonts").c_str(), 0555);
    ::chmod(dir.file("ro").c_str(), 0555);
    const std::pair<std::string, std::string> homes[] = {{"read-only", dir.file("ro")},
                                                         {"missing", dir.file("nowhere/at/all")}};
    for (const auto& [name, data_home] : homes) {
        std::filesystem::remove(dir.file("out.pdf"));
        const RunResult result = run_program(obeying_permissions({kvalon_binary(), report()}),
                                             {{"KVALON_PDF", dir.file("out.pdf")},
                                              {"HOME", data_home},
                                              {"XDG_DATA_HOME", data_home}});
        EXPECT_EQ(result.status, 0) << name << ": " << result.err;
        EXPECT_EQ(pdf_pages(dir.file("out.pdf")), planned_pages()) << name;
    }
}

// Queues of our own on the test scheduler; the shared "PDF" queue is left alone.
class QueueFault : public Fault {
protected:
    void SetUp() override {
        Fault::SetUp();
        if (std::getenv("KVALON_CUPS_TEST") == nullptr) {
            GTEST_SKIP() << "needs the test CUPS scheduler (scripts/run-tests.sh as root)";
        }
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
    RunResult print_on_queue() {
        return run_program({kvalon_binary(), "--printer", queue, report()},
                           {{"KVALON_PDF", ""}, {"HOME", dir.path()}});
    }
    // Jobs of the queue that would still print.
    std::string waiting_jobs() { return run_program({"lpstat", "-o", queue}).out; }
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
    write_bytes(report(), report_lines(60000));
    RunResult result;
    std::thread program([&] { result = print_on_queue(); });
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    ASSERT_EQ(run_program({"lpadmin", "-x", queue}).status, 0);
    program.join();
    queue.clear();
    EXPECT_EQ(result.status, 5);
    EXPECT_NE(result.err.find(kPrinterFailed), std::string::npos) << result.err;
}

int free_port() {
    const int probe = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (::bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
        port = ntohs(address.sin_port);
    }
    ::close(probe);
    return port;
}

// A private scheduler (scripts/print-server.sh) stopped while the report is
// drawn; the other tests' scheduler is not touched.
TEST_F(Fault, ASchedulerStoppedMidRunIsNeverSuccess) {
    if (::geteuid() != 0 || !file_exists("/usr/sbin/cupsd")) {
        GTEST_SKIP() << "a private CUPS scheduler needs root and cupsd";
    }
    std::filesystem::permissions(
        dir.path(), std::filesystem::perms::group_exec | std::filesystem::perms::others_exec,
        std::filesystem::perm_options::add);
    const std::string script = source_dir() + "/scripts/print-server.sh";
    const std::string port = std::to_string(free_port());
    if (run_program({script, "start", dir.file("server"), port}).status != 0) {
        GTEST_SKIP() << "the private scheduler did not start";
    }
    write_bytes(report(), report_lines(60000));
    RunResult result;
    std::thread program([&] {
        result = run_program({kvalon_binary(), report()}, {{"CUPS_SERVER", "127.0.0.1:" + port},
                                                           {"LPDEST", ""},
                                                           {"PRINTER", ""},
                                                           {"KVALON_PDF", ""},
                                                           {"HOME", dir.path()}});
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    run_program({script, "stop", dir.file("server")});
    program.join();
    EXPECT_EQ(result.status, 5);
    EXPECT_NE(result.err.find(kPrinterFailed + "Remote ("), std::string::npos) << result.err;
}

} // namespace
} // namespace kvalon::testing
