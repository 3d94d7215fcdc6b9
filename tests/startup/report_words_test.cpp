#include "startup/report_words.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace kvalon {
namespace {

struct Case {
    const char* what;
    std::vector<std::string> shell_words;
    std::vector<std::string> expected;
};

std::string joined(const std::vector<std::string>& words) {
    std::string text;
    for (const std::string& word : words) {
        text += (text.empty() ? "" : " ") + word;
    }
    return text;
}

TEST(ReportWords, AReportNameWithBlanksIsTakenWholeOnlyWhenItNamesAFile) {
    const std::set<std::string> files = {"/tmp/x y/r.txt", "/tmp/a,b.txt", "/tmp/plain.txt",
                                         "/s/Отчет за май.prn"};
    const NamesFile names_file = [&files](const std::string& path) { return files.count(path); };
    const std::vector<Case> cases = {
        {"quoted by the shell", {"/tmp/x y/r.txt"}, {"/tmp/x y/r.txt", "0", "8", ""}},
        {"quoted, with an action", {"/tmp/x y/r.txt", "1"}, {"/tmp/x y/r.txt", "1", "8", ""}},
        {"a comma in the name", {"/tmp/a,b.txt", "0,8"}, {"/tmp/a,b.txt", "0", "8"}},
        {"unquoted words of an emulator",
         {"/s/Отчет", "за", "май.prn", "0"},
         {"/s/Отчет за май.prn", "0", "8", ""}},
        {"one shell word holding the whole DOS line",
         {"/tmp/x y/r.txt 2 10"},
         {"/tmp/x y/r.txt", "2", "10"}},
        {"a DOS line as always", {"/tmp/plain.txt,0,8"}, {"/tmp/plain.txt", "0", "8"}},
        {"no such file stays DOS words", {"/tmp/x z/r.txt"}, {"/tmp/x", "z/r.txt", "8", ""}},
        {"a first word naming a file is not widened",
         {"/tmp/plain.txt", "0", "8"},
         {"/tmp/plain.txt", "0", "8"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(split_report_words(joined(c.shell_words), c.shell_words, names_file), c.expected)
            << c.what;
    }
}

} // namespace
} // namespace kvalon
