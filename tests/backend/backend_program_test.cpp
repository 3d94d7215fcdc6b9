// The backend program as CUPS runs it, with words the sender chose.
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <cups/backend.h>

#include <filesystem>
#include <sstream>

namespace kvalon::testing {
namespace {

std::string backend_binary() {
    return (std::filesystem::path(kvalon_binary()).parent_path() / "kvalon").string();
}

// A title used to reach Qt's own argument parser ("-platform" aborted the
// backend with status 134) and to break the protocol into lines of the
// sender's making. Now it is the title, and every message stays one line.
TEST(BackendProgram, TheTitleIsOnlyATitle) {
    TempDir dir;
    const std::string too_long_line(40000, 'x');
    const std::pair<std::string, std::string> titles[] = {
        {"-platform", "-platform"},
        {"-platformpluginpath", "-platformpluginpath"},
        {"a\nERROR: b\rc\x1b\x7f", "a ERROR: b c  "},
    };
    for (const auto& [title, shown] : titles) {
        const RunResult result = run_program(
            {backend_binary(), "7", "ivan", title, "1", ""},
            {{"DEVICE_URI", "kvalon:/Office"}, {"XDG_RUNTIME_DIR", dir.path()}}, too_long_line);
        EXPECT_EQ(result.status, CUPS_BACKEND_CANCEL) << shown << ": " << result.err;
        std::istringstream lines(result.err);
        int errors = 0;
        for (std::string line; std::getline(lines, line);) {
            EXPECT_TRUE(line.starts_with("INFO: ") || line.starts_with("ERROR: ") ||
                        line.starts_with("DEBUG: "))
                << line;
            errors += line.starts_with("ERROR: ") ? 1 : 0;
        }
        EXPECT_EQ(errors, 1) << result.err;
        EXPECT_NE(
            result.err.find("ERROR: Ред, по-дълъг от 32765 символа, във файл " + shown + "\n"),
            std::string::npos)
            << result.err;
    }
}

} // namespace
} // namespace kvalon::testing
