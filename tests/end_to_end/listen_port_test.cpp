#include "tests/end_to_end/spool_fixture.h"
#include "tests/support/pdf_tools.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace kvalon::testing {
namespace {

// A port the system has free now.
int free_tcp_port() {
    const int probe = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bind(probe, reinterpret_cast<sockaddr*>(&address), length);
    getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
    close(probe);
    return ntohs(address.sin_port);
}

int connected(int family, const sockaddr* address, socklen_t length) {
    const int fd = socket(family, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (connect(fd, address, length) == 0) {
        return fd;
    }
    close(fd);
    return -1;
}

// The writer's end of SOURCE, once the listener has opened it.
int writer_for(const std::string& source) {
    if (source.rfind("unix:", 0) == 0) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        source.copy(address.sun_path, source.size() - 5, 5);
        return connected(AF_UNIX, reinterpret_cast<sockaddr*>(&address), sizeof address);
    }
    if (source.rfind("tcp:", 0) == 0) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(static_cast<std::uint16_t>(std::stoi(source.substr(14))));
        return connected(AF_INET, reinterpret_cast<sockaddr*>(&address), sizeof address);
    }
    return open(source.c_str(), O_WRONLY | O_CLOEXEC);
}

void send(int fd, const std::string& bytes) {
    ASSERT_EQ(write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
}

// The words of a PDF in reading order, one blank between them.
std::string pdf_text(const std::string& pdf) {
    std::string text;
    for (const std::string& line : pdf_lines(pdf)) {
        text += (text.empty() || line.empty() ? "" : " ") + line;
    }
    return text;
}

class PrinterPort : public SpoolFixture {
protected:
    std::string source_for(const std::string& kind) {
        if (kind == "fifo") {
            mkfifo(dir.file("lpt1").c_str(), 0600);
            return dir.file("lpt1");
        }
        if (kind == "unix") {
            return "unix:" + dir.file("lpt1.socket");
        }
        return "tcp:127.0.0.1:" + std::to_string(free_tcp_port());
    }

    pid_t listen(const std::string& source, const std::string& idle) {
        const pid_t pid = start({"--pdf", out(), "--listen", source, "--idle", idle});
        EXPECT_TRUE(wait_until([&] { return log_has("Слуша се порт"); }));
        return pid;
    }

    int pdf_count() const { return static_cast<int>(names_in(out()).size()); }
    std::string port_folder(const std::string& name) const {
        return dir.file("state/kvalon-p/port/" + name);
    }
};

// Two jobs with a pause between them come out as two, every byte in its own:
// the second in two writes, ended by the pause or by the end of the
// connection that carried it.
TEST_F(PrinterPort, CutsJobsWhereThePortIsIdleAndKeepsEveryByte) {
    for (const std::string kind : {"fifo", "unix", "tcp"}) {
        SCOPED_TRACE(kind);
        std::filesystem::remove_all(out());
        const std::string source = source_for(kind);
        const pid_t listener = listen(source, "0.3");
        int writer = -1;
        ASSERT_TRUE(wait_until([&] { return (writer = writer_for(source)) >= 0; }));
        send(writer, report_named("ONE"));
        ASSERT_TRUE(wait_until([&] { return pdf_count() == 1; }));
        send(writer, to_mik("Отчет TWO") + "\r\n");
        send(writer, to_mik("Сума 7.00") + "\r\n");
        if (kind != "fifo") {
            close(writer);
        }
        ASSERT_TRUE(wait_until([&] { return pdf_count() == 2; }));
        if (kind == "fifo") {
            close(writer);
        }
        EXPECT_EQ(stop(listener), 128 + SIGTERM);
        EXPECT_EQ(pdf_text(out("port.pdf")), "Отчет ONE Сума 12.50");
        EXPECT_EQ(pdf_text(out("port-2.pdf")), "Отчет TWO Сума 7.00");
    }
    EXPECT_TRUE(log_has("задание от порта 2: отпечатан, 1 стр., към " + out("port-2.pdf")));
}

// Stopped while a job is coming in, the listener prints what came and ends.
TEST_F(PrinterPort, SigtermPrintsTheJobComingIn) {
    const std::string source = source_for("fifo");
    const pid_t listener = listen(source, "600");
    const int writer = writer_for(source);
    const std::string job = report_named("LAST");
    send(writer, job);
    const auto spooled = [&] {
        for (const auto& entry : std::filesystem::directory_iterator(port_folder("spool"))) {
            if (entry.is_regular_file() && entry.file_size() == job.size()) {
                return true;
            }
        }
        return false;
    };
    ASSERT_TRUE(wait_until(spooled));
    EXPECT_EQ(stop(listener), 128 + SIGTERM);
    close(writer);
    EXPECT_EQ(pdf_text(out("port.pdf")), "Отчет LAST Сума 12.50");
    EXPECT_TRUE(std::filesystem::is_empty(port_folder("spool")));
}

// A listener killed outright leaves the job coming in unprinted: the next
// one keeps it in failed/ rather than remove it as a dead run's file.
TEST_F(PrinterPort, AJobLeftByAKilledListenerIsKeptInFailed) {
    const std::string source = source_for("fifo");
    const pid_t killed = listen(source, "600");
    const int writer = writer_for(source);
    send(writer, report_named("CUT"));
    ASSERT_TRUE(wait_until([&] { return !names_in(port_folder("spool")).empty(); }));
    kill(killed, SIGKILL);
    ended(killed);
    close(writer);
    const pid_t again = start({"--pdf", out(), "--listen", source, "--idle", "0.2"});
    ASSERT_TRUE(wait_until([&] { return file_exists(port_folder("failed/port.prn")); }));
    stop(again);
    EXPECT_EQ(read_bytes(port_folder("failed/port.prn")), report_named("CUT"));
    EXPECT_TRUE(log_has("слушането спря, преди да го отпечата; файлът е в " +
                        port_folder("failed/port.prn")));
    EXPECT_TRUE(names_in(port_folder("spool")).empty());
    EXPECT_EQ(pdf_count(), 0);
}

// A job the printer does not take keeps its bytes, beside the reason, where
// the log line says; the next job is read on all the same.
TEST_F(PrinterPort, KeepsAFailedJobInFailedBesideItsReason) {
    const std::string source = source_for("fifo");
    const std::string service = "127.0.0.1:" + std::to_string(free_tcp_port());
    const pid_t listener = start({"--printer", "Nowhere", "--listen", source, "--idle", "0.2"},
                                 {{"CUPS_SERVER", service}});
    ASSERT_TRUE(wait_until([&] { return log_has("Слуша се порт"); }));
    const int writer = writer_for(source);
    send(writer, report_named("LOST"));
    ASSERT_TRUE(wait_until([&] { return log_has("задание от порта 1: неотпечатан: "); }));
    send(writer, report_named("NEXT"));
    ASSERT_TRUE(wait_until([&] { return log_has("задание от порта 2: неотпечатан: "); }));
    close(writer);
    stop(listener);
    const std::string failed = port_folder("failed/");
    EXPECT_EQ(names_in(failed), (std::vector<std::string>{"port-2.prn", "port-2.prn.reason",
                                                          "port.prn", "port.prn.reason"}));
    EXPECT_EQ(read_bytes(failed + "port.prn"), report_named("LOST"));
    EXPECT_EQ(read_bytes(failed + "port-2.prn"), report_named("NEXT"));
    EXPECT_EQ(read_bytes(failed + "port.prn.reason"),
              "Услугата за печат не отговаря: " + service + "\n");
    EXPECT_TRUE(log_has("; файлът е в " + failed + "port.prn\n"));
    EXPECT_TRUE(std::filesystem::is_empty(port_folder("spool")));
    EXPECT_EQ(std::filesystem::status(port_folder("")).permissions(),
              std::filesystem::perms::owner_all);
}

} // namespace
} // namespace kvalon::testing
