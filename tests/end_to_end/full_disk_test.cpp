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

// Ghostscript tells a full disk as an I/O error of whatever it was doing;
// the user is told the disk is full, whether it is the target's or the one
// of its temporary files.
TEST_F(FullDisk, AConvertedDocumentOnAFullDiskSaysSo) {
    // A page of random grey dots: hundreds of kilobytes that do not compress.
    const std::string pages =
        "%!PS\n/s 600 string def 72 72 translate 400 400 scale\n"
        "<< /ImageType 1 /Width 600 /Height 600 /BitsPerComponent 8 /Decode [0 1]\n"
        "/ImageMatrix [600 0 0 600 0 0] /DataSource { 0 1 599 { s exch rand 255 and put } for s }"
        " >>\n/DeviceGray setcolorspace image showpage\n";
    write_bytes(dir.file("PAGES.PS"), pages);
    std::filesystem::create_directory(dir.file("tmp"));
    struct Case {
        std::string target;
        std::string temporary;
    };
    for (const Case& c : {Case{mount_point() + "/out.pdf", dir.file("tmp")},
                          Case{dir.file("out.pdf"), mount_point()}}) {
        const RunResult result =
            run_program({kvalon_binary(), dir.file("PAGES.PS")},
                        {{"KVALON_PDF", c.target}, {"HOME", dir.path()}, {"TMPDIR", c.temporary}});
        EXPECT_EQ(result.status, 5);
        EXPECT_NE(result.err.find("Kvalon-P: Файлът не може да бъде записан: " + c.target +
                                  " (няма свободно място)"),
                  std::string::npos)
            << result.err;
        EXPECT_FALSE(file_exists(c.target));
        EXPECT_TRUE(std::filesystem::is_empty(mount_point()));
    }
}

} // namespace
} // namespace kvalon::testing
