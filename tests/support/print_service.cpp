#include "tests/support/print_service.h"

#include "tests/support/child_process.h"

#include <arpa/inet.h>
#include <cstdlib>
#include <filesystem>
#include <netinet/in.h>
#include <sstream>
#include <sys/socket.h>
#include <unistd.h>

namespace kvalon::testing {

std::string cups_pdf_output(const std::string& server_folder) {
    return server_folder + "/pdf";
}

std::string test_scheduler_pdf_output() {
    const char* folder = std::getenv("KVALON_CUPS_PDF");
    return folder != nullptr ? folder : "";
}

int free_port() {
    const int probe = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
        port = ntohs(address.sin_port);
    }
    close(probe);
    return port;
}

std::set<std::string> files_in(const std::string& folder) {
    std::set<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        names.insert(entry.path().string());
    }
    return names;
}

bool holds_a_file(const std::string& folder) {
    std::error_code error;
    for (auto entry = std::filesystem::recursive_directory_iterator(folder, error);
         !error && entry != std::filesystem::recursive_directory_iterator();
         entry.increment(error)) {
        if (entry->is_regular_file(error)) {
            return true;
        }
    }
    return false;
}

std::vector<std::string> completed_jobs(const std::string& server) {
    const RunResult listed = run_program({"lpstat", "-h", server, "-W", "completed", "-o"});
    std::vector<std::string> jobs;
    std::istringstream lines(listed.out);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string id;
        if (words >> id) {
            jobs.push_back(id);
        }
    }
    return jobs;
}

std::string lpd_conversation(const std::string& queue, const std::string& user,
                             const std::string& title, const std::string& report) {
    const std::string control =
        "Hdos-pc\nP" + user + "\nJ" + title + "\nldfA001dos-pc\nUdfA001dos-pc\nN" + title + "\n";
    return "\x02" + queue + "\n" + "\x02" + std::to_string(control.size()) + " cfA001dos-pc\n" +
           control + std::string(1, '\0') + "\x03" + std::to_string(report.size()) +
           " dfA001dos-pc\n" + report + std::string(1, '\0');
}

} // namespace kvalon::testing
