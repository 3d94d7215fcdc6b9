// A print service that is not there or does not answer: told as such, within
// the program's time limit, never as a machine without printers.
#include "tests/support/print_service.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <string>
#include <unistd.h>

namespace kvalon::testing {
namespace {

// A service that connects and never answers: a socket that listens on a free
// loopback port and never accepts.
class SilentListener {
public:
    SilentListener() : m_socket(::socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (::bind(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
            ::getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
            m_port = ntohs(address.sin_port);
        }
        ::listen(m_socket, 8);
    }
    ~SilentListener() { ::close(m_socket); }
    SilentListener(const SilentListener&) = delete;
    SilentListener& operator=(const SilentListener&) = delete;
    int port() const { return m_port; }

private:
    int m_socket;
    int m_port = 0;
};

// An unreachable print service used to read "Няма инсталиран принтер", a
// frozen one the same after two minutes. timeout(1) turns a hang into a
// failure.
TEST(PrintServiceSilence, AServiceThatDoesNotAnswerIsToldAsSuch) {
    TempDir dir;
    write_bytes(dir.file("REPORT.TXT"), "one line\r\n");
    const SilentListener frozen;
    for (const int port : {free_port(), frozen.port()}) {
        const std::string server = "127.0.0.1:" + std::to_string(port);
        const RunResult result =
            run_program({"timeout", "60", kvalon_binary(), dir.file("REPORT.TXT")},
                        {{"CUPS_SERVER", server},
                         {"KVALON_PDF", ""},
                         {"HOME", dir.path()},
                         {"XDG_RUNTIME_DIR", dir.path()}});
        EXPECT_EQ(result.status, 3) << server;
        EXPECT_EQ(result.err, "Kvalon-P: Услугата за печат не отговаря: " + server + "\n");
    }
}

} // namespace
} // namespace kvalon::testing
