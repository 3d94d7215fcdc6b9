#pragma once

#include "tests/support/pdf_tools.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace kvalon::testing {

inline bool sanitized() {
    return std::getenv("KVALON_SANITIZED") != nullptr;
}

// Lines "Ред 00001" ... of `width` characters, CR LF ended.
inline std::string numbered_lines(int count, int width = 60) {
    std::string text;
    text.reserve(static_cast<std::size_t>(count) * static_cast<std::size_t>(width + 2));
    // Converted once: a million lines must not build the table a million times.
    const std::string word = to_mik("Ред ");
    for (int i = 1; i <= count; ++i) {
        std::string line = word + std::to_string(100000 + i).substr(1);
        line.resize(static_cast<std::size_t>(width), '.');
        text += line + "\r\n";
    }
    return text;
}

// The real program run on reports into the PDF printer, in a folder of its own.
class PdfRun : public ::testing::Test {
protected:
    RunResult run(std::vector<std::string> words) {
        words.insert(words.begin(), kvalon_binary());
        return run_program(
            words,
            {{"KVALON_PDF", pdf()}, {"HOME", dir.path()}, {"XDG_DATA_HOME", dir.file("data")}});
    }
    std::map<std::string, std::string> plan(const std::string& path) {
        const RunResult planned = run({"--plan", path});
        EXPECT_EQ(planned.status, 0) << planned.err;
        return parse_plan(planned.out);
    }
    std::string pdf() const { return dir.file("out.pdf"); }
    // The folder holds nothing that could pass for the document.
    void expect_no_document() const {
        for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
            const std::string name = entry.path().filename().string();
            EXPECT_EQ(name.find(".pdf"), std::string::npos) << name;
        }
    }
    TempDir dir;
};

} // namespace kvalon::testing
