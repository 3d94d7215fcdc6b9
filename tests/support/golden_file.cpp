#include "tests/support/golden_file.h"

#include "tests/support/test_files.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <vector>

namespace kvalon::testing {
namespace {

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        lines.push_back(line);
    }
    return lines;
}

bool updating() {
    const char* update = std::getenv("KVALON_UPDATE_GOLDEN");
    return update != nullptr && std::string(update) == "1";
}

} // namespace

::testing::AssertionResult matches_golden_file(const std::string& name, const std::string& actual) {
    const std::string path = source_dir() + "/tests/golden/" + name;
    if (updating()) {
        write_bytes(path, actual);
        return ::testing::AssertionSuccess() << "wrote " << path;
    }
    if (!file_exists(path)) {
        return ::testing::AssertionFailure()
               << path << " is missing; KVALON_UPDATE_GOLDEN=1 writes it";
    }
    const std::string expected = read_bytes(path);
    if (expected == actual) {
        return ::testing::AssertionSuccess();
    }
    const std::vector<std::string> want = lines_of(expected);
    const std::vector<std::string> got = lines_of(actual);
    const auto differs = std::mismatch(want.begin(), want.end(), got.begin(), got.end());
    const auto line = differs.first - want.begin();
    return ::testing::AssertionFailure()
           << path << " differs at line " << line + 1
           << ":\n  expected: " << (differs.first != want.end() ? *differs.first : "(end of file)")
           << "\n  actual:   " << (differs.second != got.end() ? *differs.second : "(end of file)")
           << "\n(" << want.size() << " lines expected, " << got.size()
           << " actual; KVALON_UPDATE_GOLDEN=1 rewrites the file after an intended change)";
}

} // namespace kvalon::testing
