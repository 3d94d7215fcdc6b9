// Findings of the hardening work, each kept from coming back.
#include "engine/error.h"
#include "engine/plan_layout.h"
#include "engine/print_job.h"
#include "engine/read_page.h"
#include "engine/source_file.h"
#include "printing/print_page.h"
#include "tests/support/recording_surface.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace kvalon {
namespace {

class Regression : public ::testing::Test {
protected:
    void SetUp() override {
        reset_job();
        job().ParamList = {"", "0", "8", ""};
        job().FontFace = "CourierCyr";
        job().CommandLineJob = true;
        job().SourcePath = dir.file("REPORT.TXT");
        set_printer(&surface);
    }
    void TearDown() override {
        reset_job();
        set_printer(nullptr);
    }
    ErrorKind failure_of(void (*step)()) {
        try {
            step();
        } catch (const KvalonError& error) {
            EXPECT_EQ(error.path(), job().SourcePath);
            return error.kind();
        }
        ADD_FAILURE() << "no failure";
        return ErrorKind::Printer;
    }
    testing::TempDir dir;
    testing::RecordingSurface surface;
};

// A report cut short after planning used to end the job early as if it were
// complete: fewer pages, success.
TEST_F(Regression, AReportCutShortWhileReadIsAReadFailure) {
    std::string text;
    for (int i = 0; i < 40000; ++i) {
        text += "line " + std::to_string(i) + std::string(40, '.') + "\r\n";
    }
    testing::write_bytes(job().SourcePath, text);
    plan_layout();
    read_page();
    std::filesystem::resize_file(job().SourcePath, 100);
    EXPECT_EQ(failure_of([] {
                  while (!job().SourceDone) {
                      read_page();
                  }
              }),
              ErrorKind::File);
}

TEST_F(Regression, AReportReadToItsEndMarkIsNotTakenForCutShort) {
    testing::write_bytes(job().SourcePath, "a\r\nb\r\n\x1a" + std::string(5000, 'z'));
    plan_layout();
    read_page();
    EXPECT_TRUE(job().SourceDone);
    EXPECT_EQ(job().PageNumber, 1);
}

TEST_F(Regression, SourceIdentityFollowsTheFile) {
    testing::write_bytes(job().SourcePath, "abc\r\n");
    SourceFile file;
    file.open(job().SourcePath);
    const FileIdentity first = file.identity();
    file.open(job().SourcePath);
    EXPECT_EQ(file.identity(), first);
    testing::write_bytes(job().SourcePath, "abcd\r\n");
    file.open(job().SourcePath);
    EXPECT_NE(file.identity(), first);
    EXPECT_EQ(file.identity().size, 6);
}

// Page 32,768 used to fail as "line longer than 32,765 characters" without
// a file name.
TEST_F(Regression, PageAfter32767IsTooManyPages) {
    std::string text;
    for (int i = 0; i < 32768; ++i) {
        text += "p\r\n\f\r\n";
    }
    testing::write_bytes(job().SourcePath, text);
    plan_layout();
    EXPECT_EQ(failure_of([] {
                  while (!job().SourceDone) {
                      read_page();
                  }
              }),
              ErrorKind::TooManyPages);
    EXPECT_EQ(job().PageNumber, 32767);
}

TEST_F(Regression, ALongLineStaysAnOverflowNamingTheFile) {
    testing::write_bytes(job().SourcePath, std::string(32766, 'a'));
    EXPECT_EQ(failure_of(plan_layout), ErrorKind::LineTooLong);
    EXPECT_FALSE(source_file().is_open());
}

// A report ending in a form feed after a full page leaves the document open
// for the program's end to hand over: the printed pages are not lost.
TEST_F(Regression, FormFeedAfterAFullPageLeavesTheDocumentToBeHandedOver) {
    testing::write_bytes(job().SourcePath, "x\r\n");
    plan_layout();
    std::string text;
    for (int i = 0; i < job().LinesPerPage; ++i) {
        text += "l\r\n";
    }
    testing::write_bytes(job().SourcePath, text + "\f\r\n");
    plan_layout();
    while (!job().SourceDone) {
        read_page();
        print_page();
    }
    EXPECT_EQ(job().PageNumber, 1);
    EXPECT_EQ(surface.log.back(), "NewPage");
}

} // namespace
} // namespace kvalon
