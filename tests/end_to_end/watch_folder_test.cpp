#include "tests/end_to_end/spool_fixture.h"
#include "tests/support/pdf_tools.h"

#include <fcntl.h>
#include <unistd.h>

namespace kvalon::testing {
namespace {

bool has_line_with(const std::string& pdf, const std::string& text) {
    const std::vector<std::string> lines = pdf_lines(pdf);
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
        return line.find(text) != std::string::npos;
    });
}

class WatchedFolder : public SpoolFixture {
protected:
    pid_t watch(std::map<std::string, std::string> extra = {}, std::vector<std::string> more = {}) {
        std::vector<std::string> words = {"--pdf", out(), "--watch", in(), "--settle", "0.2"};
        words.insert(words.end(), more.begin(), more.end());
        extra["KVALON_WATCH_POLL"] = polled ? "1" : "";
        return start(words, extra);
    }

    bool printed(const std::string& name) const { return file_exists(in("printed/" + name)); }

    bool polled = false;
};

// The cases every way of seeing the folder must pass: told by the system,
// and looked at on the timer alone, as where the system tells nothing.
class WatchedFolderSeen : public WatchedFolder, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        polled = GetParam();
        WatchedFolder::SetUp();
    }
    void TearDown() override {
        WatchedFolder::TearDown();
        EXPECT_EQ(log_has("проверява се всяка секунда"), polled);
    }
};

INSTANTIATE_TEST_SUITE_P(Either, WatchedFolderSeen, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& seen) {
                             return seen.param ? "Polled" : "Told";
                         });

TEST_P(WatchedFolderSeen, PrintsFilesThereAtStartAndThoseThatAppearOnceEachAndMovesThem) {
    drop("EARLY.TXT", report_named("EARLY"));
    const pid_t watcher = watch();
    ASSERT_TRUE(wait_until([&] { return printed("EARLY.TXT"); }));
    drop("LATE.PRN", report_named("LATE"));
    ASSERT_TRUE(wait_until([&] { return printed("LATE.PRN"); }));
    EXPECT_EQ(stop(watcher), 128 + SIGTERM);

    EXPECT_EQ(names_in(out()), (std::vector<std::string>{"EARLY.pdf", "LATE.pdf"}));
    EXPECT_TRUE(has_line_with(out("EARLY.pdf"), "Отчет EARLY"));
    EXPECT_TRUE(has_line_with(out("LATE.pdf"), "Отчет LATE"));
    EXPECT_EQ(read_bytes(in("printed/LATE.PRN")), report_named("LATE"));
    // Only its own folders are left in the watched one, none a file to print.
    for (const std::string& name : names_in(in())) {
        EXPECT_TRUE(std::filesystem::is_directory(in(name)) || name.front() == '.') << name;
    }
    EXPECT_TRUE(log_has("LATE.PRN: отпечатан, 1 стр., към " + out("LATE.pdf")));
}

// The file a writer keeps open waits, however long it stays the same; a file
// written after it and closed at once goes first.
TEST_P(WatchedFolderSeen, TakesNoFileItsWriterStillHasOpen) {
    const int slow = open(in("SLOW.TXT").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    const std::string first = report_named("FIRST");
    ASSERT_EQ(write(slow, first.data(), first.size()), static_cast<ssize_t>(first.size()));
    const pid_t watcher = watch();
    drop("QUICK.TXT", report_named("QUICK"));
    ASSERT_TRUE(wait_until([&] { return printed("QUICK.TXT"); }));
    EXPECT_FALSE(printed("SLOW.TXT"));
    const std::string second = report_named("SECOND");
    ASSERT_EQ(write(slow, second.data(), second.size()), static_cast<ssize_t>(second.size()));
    close(slow);
    ASSERT_TRUE(wait_until([&] { return printed("SLOW.TXT"); }));
    stop(watcher);
    EXPECT_TRUE(has_line_with(out("SLOW.pdf"), "Отчет FIRST"));
    EXPECT_TRUE(has_line_with(out("SLOW.pdf"), "Отчет SECOND"));
}

TEST_F(WatchedFolder, PutsAFailingFileIntoFailedBesideItsReason) {
    const std::string too_long(250, 'E');
    drop("EMPTY.TXT", "");
    drop(too_long, "");
    const pid_t watcher = watch();
    ASSERT_TRUE(wait_until([&] { return file_exists(in("failed/EMPTY.TXT")); }));
    ASSERT_TRUE(wait_until([&] { return names_in(in("failed")).size() == 4; }));
    stop(watcher);
    EXPECT_EQ(read_bytes(in("failed/EMPTY.TXT.reason")),
              "Файл " + in("EMPTY.TXT") + " е с нулева дължина\n");
    EXPECT_TRUE(log_has("EMPTY.TXT: неотпечатан: Файл"));
    // A name too long to have ".reason" beside it is shortened to fit.
    EXPECT_TRUE(file_exists(in("failed/" + too_long.substr(0, 240) + ".reason")));
}

// Names no command line or log line should take as they are: each is printed
// under its own name, and its PDF is named after it.
TEST_P(WatchedFolderSeen, PrintsFilesWithHostileNamesUnderTheirOwnNames) {
    const std::vector<std::string> names = {"-n\nodd name", "--help", "a,b 1.TXT",
                                            "bad\xff\xfe.txt", std::string(250, 'L')};
    for (std::size_t i = 0; i < names.size(); ++i) {
        drop(names[i], report_named("H" + std::to_string(i)));
    }
    const pid_t watcher = watch();
    ASSERT_TRUE(wait_until([&] {
        return names_in(in("printed")) == [&] {
            std::vector<std::string> sorted = names;
            std::sort(sorted.begin(), sorted.end());
            return sorted;
        }();
    }));
    stop(watcher);
    EXPECT_TRUE(has_line_with(out("-n\nodd name.pdf"), "Отчет H0"));
    EXPECT_TRUE(has_line_with(out("--help.pdf"), "Отчет H1"));
    EXPECT_TRUE(has_line_with(out("a,b 1.pdf"), "Отчет H2"));
    EXPECT_TRUE(has_line_with(out("bad\xff\xfe.pdf"), "Отчет H3"));
    EXPECT_TRUE(has_line_with(out(std::string(200, 'L') + ".pdf"), "Отчет H4"));
    EXPECT_TRUE(log_has("-n?odd name: отпечатан"));
    EXPECT_TRUE(log_has("bad??.txt: отпечатан"));
}

TEST_F(WatchedFolder, LeavesFilesNoPatternMatchesAndRemovesPrintedOnesWhenAsked) {
    drop("KEEP.DAT", report_named("KEEP"));
    drop("GONE.PRN", report_named("GONE"));
    const pid_t watcher = watch({}, {"--pattern", "*.PRN", "--remove"});
    ASSERT_TRUE(wait_until([&] { return file_exists(out("GONE.pdf")); }));
    ASSERT_TRUE(wait_until([&] { return log_has("GONE.PRN: отпечатан"); }));
    stop(watcher);
    EXPECT_TRUE(file_exists(in("KEEP.DAT")));
    EXPECT_FALSE(file_exists(in("GONE.PRN")));
    EXPECT_TRUE(names_in(in("printed")).empty());
    EXPECT_EQ(names_in(out()), std::vector<std::string>{"GONE.pdf"});
}

// Stopped outright after the job left but before the journal says so, or
// after it says so but before the file moved: started again, the watcher
// prints nothing twice and loses nothing, and says what it decided.
TEST_F(WatchedFolder, AWatcherKilledBetweenSentAndMovedPrintsNothingTwiceWhenStartedAgain) {
    const struct {
        const char* step;
        const char* decision;
    } cases[] = {
        {"printed", "печатът започна преди спирането и PDF файлът е цял"},
        {"sent", "изпратен преди спирането на наблюдението, но непреместен"},
    };
    for (const auto& point : cases) {
        SCOPED_TRACE(point.step);
        const std::string name = std::string("JOB-") + point.step + ".TXT";
        const pid_t killed = watch({{"KVALON_TEST_WATCH_STOP_AT", point.step}});
        drop(name, report_named(point.step));
        EXPECT_EQ(ended(killed), 128 + SIGKILL);
        EXPECT_FALSE(printed(name));

        const pid_t again = watch();
        ASSERT_TRUE(wait_until([&] { return printed(name); }));
        stop(again);
        EXPECT_TRUE(log_has(name + ": " + point.decision));
        const std::string stem = std::string("JOB-") + point.step;
        EXPECT_TRUE(file_exists(out(stem + ".pdf")));
        EXPECT_FALSE(file_exists(out(stem + "-2.pdf")));
    }
    EXPECT_TRUE(names_in(in(".kvalon-p-claimed")).empty());
    // Started once more, the watcher forgets in its journal what is done.
    const pid_t last = watch();
    ASSERT_TRUE(wait_until([&] { return read_bytes(in(".kvalon-p-journal")).empty(); }));
    stop(last);
}

TEST_F(WatchedFolder, TwoWatchersOnOneFolderPrintEachFileOnce) {
    const pid_t one = watch();
    const pid_t two = watch();
    constexpr int kFiles = 24;
    for (int i = 0; i < kFiles; ++i) {
        drop("R" + std::to_string(i) + ".TXT", report_named(std::to_string(i)));
    }
    ASSERT_TRUE(wait_until([&] { return names_in(in("printed")).size() == kFiles; }));
    stop(one);
    stop(two);
    const std::vector<std::string> pdfs = names_in(out());
    EXPECT_EQ(pdfs.size(), static_cast<std::size_t>(kFiles));
    for (const std::string& pdf : pdfs) {
        EXPECT_EQ(pdf.find("-2.pdf"), std::string::npos) << pdf;
    }
}

// The watcher stopped while a job is in hand finishes it, then ends.
TEST_F(WatchedFolder, SigtermFinishesTheJobInHand) {
    const std::string release = dir.file("release");
    const pid_t watcher = watch({{"KVALON_TEST_WATCH_HOLD_UNTIL", release}});
    drop("HELD.TXT", report_named("HELD"));
    ASSERT_TRUE(wait_until([&] { return file_exists(in(".kvalon-p-claimed/HELD.TXT")); }));
    kill(watcher, SIGTERM);
    std::filesystem::create_directory(release);
    EXPECT_EQ(ended(watcher), 128 + SIGTERM);
    EXPECT_TRUE(printed("HELD.TXT"));
    EXPECT_TRUE(has_line_with(out("HELD.pdf"), "Отчет HELD"));
}

TEST_F(WatchedFolder, RefusesUnusableOptionsWithTheUsage) {
    const std::vector<std::vector<std::string>> refused = {
        {"--watch"},
        {"--watch", dir.file("missing")},
        {"--watch", in(), "--settle", "soon"},
        {"--watch", in(), "--settle", "0"},
        {"--pattern", "*.TXT", "--watch", in()},
        {"--watch", in(), "REPORT.TXT"},
        {"--listen", "serial:COM1"},
        {"--listen", "tcp:127.0.0.1:70000"},
        {"--listen", in()},
        {"--listen", "tcp:127.0.0.1:9100", "--idle", "-1"},
    };
    for (std::vector<std::string> words : refused) {
        SCOPED_TRACE(words.back());
        words.insert(words.begin(), kvalon_binary());
        const RunResult run = run_program(words, env);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err.rfind("Kvalon-P: Неправилна опция в командния ред: --", 0), 0u)
            << run.err;
        EXPECT_NE(run.err.find("Употреба:"), std::string::npos);
    }
}

} // namespace
} // namespace kvalon::testing
