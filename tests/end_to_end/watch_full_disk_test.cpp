// A watched folder whose PDF printer's folder, or whose printed/, has no room
// (a small file system filled up; mounting it needs root): the job is not
// lost, and what was not printed is not told as printed.
#include "tests/end_to_end/spool_fixture.h"

#include <unistd.h>

namespace kvalon::testing {
namespace {

class WatchedFolderOnAFullDisk : public SpoolFixture {
protected:
    void SetUp() override {
        if (::geteuid() != 0) {
            GTEST_SKIP() << "mounting a small file system needs root";
        }
        SpoolFixture::SetUp();
    }
    void TearDown() override {
        SpoolFixture::TearDown();
        for (const std::string& point : mounted) {
            run_program({"umount", point});
        }
    }

    // A 64 KiB file system at `point`, filled up to its last byte.
    void mount_full(const std::string& point) {
        std::filesystem::create_directories(point);
        ASSERT_EQ(run_program({"mount", "-t", "tmpfs", "-o", "size=64k", "tmpfs", point}).status,
                  0);
        mounted.push_back(point);
        run_program({"dd", "if=/dev/zero", "of=" + point + "/filler", "bs=4k"});
    }

    pid_t watch() { return start({"--pdf", out(), "--watch", in(), "--settle", "0.1"}); }

    std::vector<std::string> mounted;
};

// A report long enough that its PDF cannot fit into what little is left.
std::string long_report() {
    std::string report;
    for (int line = 0; line < 3000; ++line) {
        report += "line " + std::to_string(line) + std::string(60, '.') + "\r\n";
    }
    return report;
}

TEST_F(WatchedFolderOnAFullDisk, AJobWhosePdfHasNoRoomGoesToFailedWithTheReason) {
    mount_full(out());
    const pid_t watcher = watch();
    drop("BIG.TXT", long_report());
    ASSERT_TRUE(wait_until([&] { return file_exists(in("failed/BIG.TXT")); }));
    stop(watcher);
    EXPECT_EQ(read_bytes(in("failed/BIG.TXT")), long_report());
    EXPECT_NE(read_bytes(in("failed/BIG.TXT.reason")).find("(няма свободно място)"),
              std::string::npos);
    EXPECT_TRUE(log_has("BIG.TXT: неотпечатан: "));
    EXPECT_FALSE(log_has("BIG.TXT: отпечатан"));
    EXPECT_TRUE(names_in(in("printed")).empty());
    EXPECT_EQ(names_in(out()), std::vector<std::string>{"filler"});
}

// Printed, but printed/ cannot take the file: it is kept in failed/ with the
// reason, and a watcher started again does not print it twice.
TEST_F(WatchedFolderOnAFullDisk, APrintedFileThatPrintedCannotTakeIsKeptAndNotPrintedAgain) {
    mount_full(in("printed"));
    const pid_t watcher = watch();
    drop("DONE.TXT", report_named("DONE"));
    ASSERT_TRUE(wait_until([&] { return file_exists(in("failed/DONE.TXT")); }));
    stop(watcher);
    EXPECT_TRUE(log_has("DONE.TXT: отпечатан, 1 стр., към " + out("DONE.pdf")));
    EXPECT_EQ(read_bytes(in("failed/DONE.TXT")), report_named("DONE"));
    EXPECT_EQ(read_bytes(in("failed/DONE.TXT.reason"))
                  .rfind("Отпечатан, но не може да се премести в " + in("printed") + " (", 0),
              0u);
    const pid_t again = watch();
    ASSERT_TRUE(wait_until([&] { return log_has("Наблюдава се папка"); }));
    drop("NEXT.TXT", report_named("NEXT"));
    ASSERT_TRUE(wait_until([&] { return file_exists(in("failed/NEXT.TXT")); }));
    stop(again);
    EXPECT_EQ(names_in(out()), (std::vector<std::string>{"DONE.pdf", "NEXT.pdf"}));
    EXPECT_TRUE(names_in(in(".kvalon-p-claimed")).empty());
}

} // namespace
} // namespace kvalon::testing
