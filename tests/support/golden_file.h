#pragma once

#include <gtest/gtest.h>

#include <string>

namespace kvalon::testing {

// Compares `actual` with the file tests/golden/`name` of the source tree and
// names the first line that differs. With KVALON_UPDATE_GOLDEN=1 in the
// environment it writes `actual` there instead: run the test that way after a
// change meant to alter the output, and review the difference with git.
::testing::AssertionResult matches_golden_file(const std::string& name, const std::string& actual);

} // namespace kvalon::testing
