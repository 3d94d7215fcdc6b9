#include "engine/error.h"
#include "engine/history/job_history.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace kvalon {
namespace {

using testing::TempDir;

constexpr std::int64_t kDay = 24 * 3600;
constexpr std::int64_t kStart = 1'800'000'000;

class JobHistoryTest : public ::testing::Test {
protected:
    JobHistory history(int days = 14, std::int64_t most_bytes = 1 << 20) {
        return JobHistory(HistorySettings{dir.file("state/kvalon-p/history"), days, most_bytes});
    }
    // A job of `size` bytes printed at `time`, kept.
    std::string keep(JobHistory& store, std::int64_t time, std::size_t size = 100) {
        const std::string report = dir.file("report.txt");
        testing::write_bytes(report, std::string(size, 'x') + std::to_string(time));
        JobRecord record;
        record.time = time;
        record.report = "job-" + std::to_string(time);
        return store.keep(report, record);
    }
    static std::vector<std::string> reports(const JobHistory& store) {
        std::vector<std::string> names;
        for (const KeptJob& kept : store.list()) {
            names.push_back(kept.record.report);
        }
        return names;
    }
    TempDir dir;
};

TEST(JobRecordText, EveryFieldComesBackWhateverBytesItHolds) {
    JobRecord record;
    record.time = 1'800'000'123;
    record.report = "две\nреда %41 \x01\x7f\xff";
    record.pages = 12;
    record.printer = "office/draft";
    record.pdf = "/tmp/out put.pdf";
    record.options = {"--code-page=cp866", "--copies", "2"};
    record.words = {"0", "10"};
    record.outcome = JobRecord::Outcome::Failed;
    record.reason = "Грешка на принтера\r\n";
    const std::optional<JobRecord> back = read_record_text(record_text(record));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->time, record.time);
    EXPECT_EQ(back->report, record.report);
    EXPECT_EQ(back->pages, record.pages);
    EXPECT_EQ(back->printer, record.printer);
    EXPECT_EQ(back->pdf, record.pdf);
    EXPECT_EQ(back->options, record.options);
    EXPECT_EQ(back->words, record.words);
    EXPECT_EQ(back->outcome, record.outcome);
    EXPECT_EQ(back->reason, record.reason);
}

TEST(JobRecordText, WhatIsNotARecordOfOursIsRefused) {
    const std::string head = "kvalon-p job 1\n";
    for (const std::string& text : {
             std::string(),
             std::string("kvalon-p job 2\ntime 1\n"),
             head,                                 // no time
             head + "time 1",                      // cut short
             head + "time -5\n",                   // before 1970
             head + "time 99999999999999999999\n", // no 64-bit number
             head + "time 1\npages x\n",
             head + "time 1\nreport a%4\n",   // escape cut short
             head + "time 1\nreport a%00b\n", // a NUL
             head + "time 1\nreport %zz\n",
             head + "time 1\nreport a" + std::string(1, '\0') + "b\n", // unescaped
             head + "time 1\nnoblank\n",
             head + "time 1\nreport " + std::string(70 * 1024, 'a') + "\n",
         }) {
        EXPECT_FALSE(read_record_text(text)) << text.substr(0, 60);
    }
    EXPECT_TRUE(read_record_text(head + "time 1\nlater-field x\n"));
}

TEST_F(JobHistoryTest, KeepsTheBytesOwnerOnlyAndListsNewestFirst) {
    JobHistory store = history();
    keep(store, kStart);
    keep(store, kStart + 60);
    const std::string newest = keep(store, kStart + 60); // the same second: kept after
    const std::vector<KeptJob> jobs = store.list();
    ASSERT_EQ(jobs.size(), 3U);
    EXPECT_EQ(jobs[0].folder, newest);
    EXPECT_EQ(jobs[2].record.report, "job-" + std::to_string(kStart));
    EXPECT_EQ(testing::read_bytes(jobs[2].report_path()),
              std::string(100, 'x') + std::to_string(kStart));
    for (const std::string& path :
         {dir.file("state/kvalon-p"), store.settings().folder, jobs[0].folder,
          jobs[0].report_path(), jobs[0].folder + "/record"}) {
        struct stat info {};
        ASSERT_EQ(::stat(path.c_str(), &info), 0) << path;
        EXPECT_EQ(info.st_mode & 077, 0U) << path;
    }
}

TEST_F(JobHistoryTest, JobsOlderThanTheDaysGoWhenAJobIsKept) {
    JobHistory store = history(14);
    keep(store, kStart);
    keep(store, kStart + 5 * kDay);
    keep(store, kStart + 14 * kDay); // the first is exactly 14 days old: it stays
    EXPECT_EQ(reports(store).size(), 3U);
    keep(store, kStart + 19 * kDay + 1);
    EXPECT_EQ(reports(store),
              (std::vector<std::string>{"job-" + std::to_string(kStart + 19 * kDay + 1),
                                        "job-" + std::to_string(kStart + 14 * kDay)}));
}

TEST_F(JobHistoryTest, TheOldestGoUntilTheRestFitTheBytes) {
    JobHistory store = history(14, 3 * 1024);
    for (int n = 0; n < 5; ++n) {
        keep(store, kStart + n, 1000);
    }
    std::int64_t total = 0;
    for (const KeptJob& kept : store.list()) {
        total += kept.bytes;
    }
    EXPECT_LE(total, 3 * 1024);
    EXPECT_EQ(reports(store).front(), "job-" + std::to_string(kStart + 4));
    EXPECT_EQ(reports(store).size(), 2U); // a record is a few hundred bytes more
}

TEST_F(JobHistoryTest, AForeignOrBrokenEntryIsPassedOverAndAnUnusableFolderThrows) {
    JobHistory store = history();
    keep(store, kStart);
    std::filesystem::create_directory(store.settings().folder + "/stray");
    testing::write_bytes(store.settings().folder + "/stray/record", "not ours");
    EXPECT_EQ(reports(store).size(), 1U);

    testing::write_bytes(dir.file("file"), "");
    JobHistory blocked(HistorySettings{dir.file("file/kvalon-p/history"), 14, 1 << 20});
    EXPECT_THROW(keep(blocked, kStart), KvalonError);
}

} // namespace
} // namespace kvalon
