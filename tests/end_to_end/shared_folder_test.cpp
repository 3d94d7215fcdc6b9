// Files of other users beside the targets: root plays both sides (another
// user's links and files are made by changing their owner).
#include "tests/support/pdf_tools.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace kvalon::testing {
namespace {

namespace fs = std::filesystem;

constexpr uid_t kOtherUser = 65534;
constexpr gid_t kOtherGroup = 65534;

class SharedFolder : public ::testing::Test {
protected:
    void SetUp() override {
        if (::geteuid() != 0) {
            GTEST_SKIP() << "files of another user are made by root";
        }
        fs::create_directory(shared());
        ::chmod(shared().c_str(), 01777);
        write_bytes(report(), "one\r\ntwo\r\n");
        env = {{"HOME", dir.path()}, {"XDG_DATA_HOME", dir.file("data")}};
    }
    std::string shared() const { return dir.file("shared"); }
    std::string report() const { return shared() + "/REPORT.TXT"; }
    TempDir dir;
    std::map<std::string, std::string> env;
};

// Another user's link in a folder others may write used to be written
// through by whoever printed there next: in /tmp when the kernel's own guard
// (fs.protected_symlinks) is off, and in any folder without the sticky bit,
// where the kernel never guards. Refused with the reason, never followed;
// their files under names like ours are theirs.
TEST_F(SharedFolder, AnotherUsersLinkIsNeverFollowed) {
    const std::string victim = dir.file("victim.txt");
    write_bytes(victim, "someone else's file");
    const std::string theirs = shared() + "/.x.pdf.kvp00000000.1.1.Abc123";
    write_bytes(theirs, "theirs");
    ASSERT_EQ(::chown(theirs.c_str(), kOtherUser, kOtherGroup), 0);
    // Sticky and anyone may write (/tmp); anyone may write; the group may write.
    const std::pair<mode_t, std::string> folders[] = {
        {01777, "01777"}, {0777, "0777"}, {0775, "0775"}};
    for (const auto& [folder_mode, mode_name] : folders) {
        ::chmod(shared().c_str(), folder_mode);
        for (const char* name : {"out.pdf", "TMPPRNT1.TMP"}) {
            const std::string link = shared() + "/" + name;
            fs::remove(link);
            fs::create_symlink(victim, link);
            ASSERT_EQ(::lchown(link.c_str(), kOtherUser, kOtherGroup), 0);
            const bool answer = std::string(name) == "TMPPRNT1.TMP";
            env["KVALON_PDF"] = answer ? dir.file("out.pdf") : link;
            const RunResult result =
                run_program({kvalon_binary(), report(), answer ? "1" : "0"}, env);
            const std::string which = name + (" in a folder of mode " + mode_name);
            EXPECT_EQ(result.status, 5) << which;
            EXPECT_EQ(result.err, "Kvalon-P: Файлът не може да бъде записан: " + link +
                                      " (връзка на друг потребител в обща папка; не се следва)\n")
                << which;
            EXPECT_TRUE(fs::is_symlink(link)) << which;
        }
    }
    EXPECT_EQ(read_bytes(victim), "someone else's file");
    EXPECT_EQ(read_bytes(theirs), "theirs");
    // Root's own link there is followed as shell redirection follows it.
    const std::string link = shared() + "/out.pdf";
    ASSERT_EQ(::lchown(link.c_str(), 0, 0), 0);
    env["KVALON_PDF"] = link;
    ASSERT_EQ(run_program({kvalon_binary(), report()}, env).status, 0);
    EXPECT_EQ(pdf_pages(victim), 1);
}

// Root replacing a user's report used to hand it to root, mode 0644.
TEST_F(SharedFolder, RootReplacingAUsersFileLeavesItTheirs) {
    const std::string target = shared() + "/payroll.pdf";
    write_bytes(target, "old");
    ASSERT_EQ(::chown(target.c_str(), kOtherUser, kOtherGroup), 0);
    ::chmod(target.c_str(), 0640);
    env["KVALON_PDF"] = target;
    const RunResult result = run_program({kvalon_binary(), report()}, env);
    ASSERT_EQ(result.status, 0) << result.err;
    struct stat info {};
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, kOtherUser);
    EXPECT_EQ(info.st_gid, kOtherGroup);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(pdf_pages(target), 1);
}

} // namespace
} // namespace kvalon::testing
