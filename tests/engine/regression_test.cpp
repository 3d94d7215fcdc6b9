// Findings of the hardening work, each kept from coming back.
#include "engine/error.h"
#include "engine/line_limit.h"
#include "engine/plan_layout.h"
#include "engine/print_job.h"
#include "engine/read_page.h"
#include "engine/source_file.h"
#include "printing/print_page.h"
#include "tests/support/recording_surface.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
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
// complete: fewer pages, success; one that grew was printed past its plan,
// a half-written last line included.
TEST_F(Regression, AReportChangedWhileReadIsAReadFailure) {
    std::string text;
    for (int i = 0; i < 40000; ++i) {
        text += "line " + std::to_string(i) + std::string(40, '.') + "\r\n";
    }
    const std::pair<const char*, void (*)(const std::string&)> changes[] = {
        {"cut short", [](const std::string& path) { std::filesystem::resize_file(path, 100); }},
        {"grown",
         [](const std::string& path) {
             std::ofstream(path, std::ios::binary | std::ios::app) << "half a line";
         }},
        {"written over, same size",
         [](const std::string& path) {
             std::fstream(path, std::ios::binary | std::ios::in | std::ios::out) << "LINE";
             const auto later = std::filesystem::last_write_time(path) + std::chrono::seconds(2);
             std::filesystem::last_write_time(path, later);
         }},
    };
    for (const auto& [name, change] : changes) {
        testing::write_bytes(job().SourcePath, text);
        plan_layout();
        read_page();
        change(job().SourcePath);
        EXPECT_EQ(failure_of([] {
                      while (!job().SourceDone) {
                          read_page();
                      }
                  }),
                  ErrorKind::File)
            << name;
    }
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

// Standard input is read in only until a line can never be planned; the watch
// must split lines as the source file does and stop nothing planning takes.
TEST_F(Regression, TheLineWatchStopsOnlyWhatPlanningRefuses) {
    const std::string part(30000, 'x');
    const std::pair<std::string, std::string> cases[] = {
        {"one line over the limit", std::string(40000, 'x')},
        {"the longest line allowed", std::string(32765, 'x') + "\r\n"},
        {"markers are not printed", std::string(40000, '\x02') + "\r\n"},
        {"two lines", part + "\r\n" + part},
        {"a line feed after CR is part of the line end", part + "\r\n\n" + part},
        {"a lone line feed is a character", part + "\n" + part},
        {"an end mark ends the text", part + "\x1a" + part},
    };
    for (const auto& [name, text] : cases) {
        LineLimitWatch watch('\x02');
        const bool stopped = watch.feed(text);
        testing::write_bytes(job().SourcePath, text);
        bool refused = false;
        try {
            plan_layout();
        } catch (const KvalonError& error) {
            refused = error.kind() == ErrorKind::LineTooLong;
        }
        EXPECT_EQ(stopped, refused) << name;
    }
}

// Reasons used to fall back to the system's English text ("Bad file
// descriptor", "File name too long").
TEST(SystemReason, EveryReasonIsInTheUsersLanguage) {
    for (int error_number = 1; error_number < 134; ++error_number) {
        const std::string reason = system_reason(error_number);
        EXPECT_FALSE(reason.empty()) << error_number;
        EXPECT_EQ(reason.find_first_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"),
                  std::string::npos)
            << error_number << ": " << reason;
    }
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
