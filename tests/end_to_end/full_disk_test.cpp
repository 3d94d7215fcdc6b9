// A file system that fills up in the middle of the document: the earlier
// document stays as it was and no part file is left. Mounting the small file
// system needs root.
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>

namespace kvalon::testing {
namespace {

class FullDisk : public ::testing::Test {
protected:
    void SetUp() override {
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
    TempDir dir;
    bool mounted = false;
};

TEST_F(FullDisk, FailsWithoutTouchingTheEarlierDocument) {
    std::string lines;
    for (int i = 0; i < 6000; ++i) {
        lines += "line " + std::to_string(i) + std::string(50, '.') + "\r\n";
    }
    write_bytes(dir.file("REPORT.TXT"), lines);
    const std::string target = mount_point() + "/out.pdf";
    write_bytes(target, "the earlier document");
    const RunResult result = run_program({kvalon_binary(), dir.file("REPORT.TXT")},
                                         {{"KVALON_PDF", target}, {"HOME", dir.path()}});
    EXPECT_EQ(result.status, 5);
    EXPECT_NE(result.err.find("Kvalon-P: Файлът не може да бъде записан: " + target +
                              " (няма свободно място)"),
              std::string::npos)
        << result.err;
    EXPECT_EQ(read_bytes(target), "the earlier document");
    EXPECT_FALSE(has_file_starting_with(mount_point(), ".out.pdf."));
}

} // namespace
} // namespace kvalon::testing
