// Faults of the disk: a clear message, a non-zero status, and never a file
// that passes for the whole report. A full disk (it needs root) and the
// faults of the print service (they need a scheduler) have tests of their own.
#include "tests/support/pdf_tools.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace kvalon::testing {
namespace {

const std::string kCannotWrite = "Kvalon-P: Файлът не може да бъде записан: ";

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
    };
    for (const Case& c : cases) {
        const RunResult result = print_to(c.target, c.words);
        EXPECT_EQ(result.status, 5) << c.target;
        EXPECT_NE(result.err.find(kCannotWrite + c.target + " (" + c.reason + ")"),
                  std::string::npos)
            << c.target << ": " << result.err;
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir.file("locked")));
}

// The caller's own standard output takes the whole document when it is a
// pipe, and it is written through, not opened anew; when it is a file, that
// file is replaced like any other target.
TEST_F(Fault, AStreamTargetGetsTheWholeDocument) {
    const RunResult result = print_to("/dev/stdout");
    ASSERT_EQ(result.status, 0) << result.err;
    write_bytes(dir.file("piped.pdf"), result.out);
    EXPECT_EQ(pdf_pages(dir.file("piped.pdf")), planned_pages());
    const RunResult into_file = run_program(
        {"sh", "-c", "exec \"$0\" \"$1\" >\"$2\"", kvalon_binary(), report(), dir.file("out.pdf")},
        {{"KVALON_PDF", "/dev/stdout"}, {"HOME", dir.path()}});
    ASSERT_EQ(into_file.status, 0) << into_file.err;
    EXPECT_EQ(pdf_pages(dir.file("out.pdf")), planned_pages());
}

TEST_F(Fault, AnAnswerFolderThatCannotBeWrittenIsNamed) {
    std::filesystem::create_directory(dir.file("locked"));
    const std::string source = dir.file("locked/REPORT.TXT");
    write_bytes(source, report_lines(3));
    ::chmod(dir.file("locked").c_str(), 0555);
    const RunResult result =
        print_to(dir.file("out.pdf"), obeying_permissions({kvalon_binary(), source, "1"}));
    EXPECT_EQ(result.status, 5);
    EXPECT_NE(result.err.find(kCannotWrite + dir.file("locked/TMPPRNT1.TMP") + " (отказан достъп)"),
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

} // namespace
} // namespace kvalon::testing
