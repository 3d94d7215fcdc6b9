// A hostile or unlucky user against the real program: planted files in shared
// folders, jobs at the same time, reports that change or never end, signals.
// Nothing may be overwritten, nothing told done that was not. Runs that could
// hang go through timeout(1), so a hang is a failure, not a stuck suite.
#include "tests/support/pdf_tools.h"
#include "tests/support/test_files.h"
#include "tests/support/wait_until.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace kvalon::testing {
namespace {

namespace fs = std::filesystem;

const std::string kHangLimit = "60";

std::string report_lines(int count, const std::string& word = "line") {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += word + " " + std::to_string(i) + std::string(50, '.') + "\r\n";
    }
    return text;
}

std::set<std::string> names_in(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

// The program started in the background with its standard error in `errors`.
StartedProgram start_printing(const std::string& report,
                              const std::map<std::string, std::string>& env,
                              const std::string& errors) {
    return start_program(
        {"sh", "-c", "exec \"$0\" \"$1\" 2>\"$2\"", kvalon_binary(), report, errors}, env);
}

// The exit status, or 128 + the signal that ended it.
int exit_status(const StartedProgram& program) {
    ::close(program.input);
    int status = 0;
    ::waitpid(program.pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Stops `program`, then lets it run on a millisecond at a time until `seen`
// holds while it stands still, and leaves it stopped there: a temporary file
// it makes and removes again is seen however briefly it lives, and it cannot
// finish between the look and what the test does next (a signal sent
// meanwhile acts once `resume` lets it go on). False when the program ended
// first or a minute passed.
template <typename Condition> bool stop_when(const StartedProgram& program, Condition seen) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    for (;;) {
        int status = 0;
        ::kill(program.pid, SIGSTOP);
        if (::waitpid(program.pid, &status, WUNTRACED) != program.pid || !WIFSTOPPED(status)) {
            return false;
        }
        if (seen()) {
            return true;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        ::kill(program.pid, SIGCONT);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void resume(const StartedProgram& program) {
    ::kill(program.pid, SIGCONT);
}

class Reliability : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directory(temporary());
        env = {{"KVALON_PDF", ""},
               {"HOME", dir.path()},
               {"XDG_DATA_HOME", dir.file("data")},
               {"XDG_RUNTIME_DIR", dir.path()},
               {"TMPDIR", temporary()},
               {"KVALON_STDIN_LIMIT", ""}};
    }
    RunResult run(std::vector<std::string> words, const std::string& input = {}) {
        words.insert(words.begin(), {"timeout", kHangLimit, kvalon_binary()});
        return run_program(words, env, input);
    }
    std::string temporary() const { return dir.file("tmp"); }
    TempDir dir;
    std::map<std::string, std::string> env;
};

// The PDF used to go to a fixed name beside the target (.NAME.part): another
// user's link there was written through, a pipe there hung the program.
TEST_F(Reliability, NamesPlantedBesideThePdfTargetAreNeverUsed) {
    const std::string shared = dir.file("shared");
    fs::create_directory(shared);
    fs::permissions(shared, fs::perms::all);
    const std::string victim = dir.file("victim.txt");
    write_bytes(dir.file("REPORT.TXT"), report_lines(20));
    env["KVALON_PDF"] = shared + "/out.pdf";
    const std::string planted = shared + "/.out.pdf.part";
    for (const char* kind : {"link", "pipe"}) {
        fs::remove(planted);
        fs::remove(shared + "/out.pdf");
        write_bytes(victim, "someone else's file");
        if (std::string(kind) == "link") {
            fs::create_symlink(victim, planted);
        } else {
            ASSERT_EQ(::mkfifo(planted.c_str(), 0666), 0);
        }
        const RunResult result = run({dir.file("REPORT.TXT")});
        EXPECT_EQ(result.status, 0) << kind << ": " << result.err;
        EXPECT_EQ(read_bytes(victim), "someone else's file") << kind;
        EXPECT_EQ(pdf_pages(shared + "/out.pdf"), 1) << kind;
        EXPECT_EQ(names_in(shared), (std::set<std::string>{".out.pdf.part", "out.pdf"})) << kind;
    }
}

// A report that grew while it was printed used to be printed past its plan,
// a half-written last line included, with success.
TEST_F(Reliability, AReportThatGrowsWhilePrintedIsAReadFailure) {
    const std::string report = dir.file("GROWING.TXT");
    write_bytes(report, report_lines(20000));
    fs::create_directory(dir.file("out"));
    env["KVALON_PDF"] = dir.file("out/out.pdf");
    const StartedProgram program = start_printing(report, env, dir.file("program.out"));
    ASSERT_TRUE(
        stop_when(program, [&] { return has_file_starting_with(dir.file("out"), ".out.pdf."); }));
    std::ofstream(report, std::ios::binary | std::ios::app) << "half a li";
    resume(program);
    EXPECT_EQ(exit_status(program), 5);
    EXPECT_NE(read_bytes(dir.file("program.out"))
                  .find("Файлът не може да бъде прочетен: " + report +
                        " (файлът е променен по време на печата)"),
              std::string::npos)
        << read_bytes(dir.file("program.out"));
    EXPECT_TRUE(fs::is_empty(dir.file("out")));
}

// A huge file without line ends used to be read to its end (a sparse 1 TB
// file for over an hour) before the long line was told; in the ESC/P mode,
// where a line's width is known only at its end, it still was. Both modes
// now refuse a file larger than any report before reading it.
TEST_F(Reliability, AHugeFileIsRefusedAtOnceInEitherMode) {
    const std::string report = dir.file("SPARSE.TXT");
    write_bytes(report, "");
    fs::resize_file(report, std::uintmax_t{1} << 40);
    env["KVALON_PDF"] = dir.file("out.pdf");
    for (const std::vector<std::string>& words :
         {std::vector<std::string>{report}, std::vector<std::string>{"--escp", report}}) {
        const RunResult result = run(words);
        EXPECT_EQ(result.status, 5) << words[0];
        EXPECT_EQ(result.err,
                  "Kvalon-P: Твърде голям отчет: " + report + " (над 2147483648 байта)\n");
    }
    EXPECT_FALSE(file_exists(dir.file("out.pdf")));
}

// Standard input used to be copied without limit into the temporary folder.
TEST_F(Reliability, StandardInputIsBounded) {
    env["KVALON_PDF"] = dir.file("out.pdf");
    const RunResult zeros = run_program(
        {"timeout", kHangLimit, "sh", "-c", "exec \"$0\" - </dev/zero", kvalon_binary()}, env);
    EXPECT_EQ(zeros.status, 5);
    EXPECT_EQ(zeros.err, "Kvalon-P: Ред, по-дълъг от 32765 символа, във файл стандартен вход\n");
    env["KVALON_STDIN_LIMIT"] = "100000";
    const RunResult large = run({"-"}, report_lines(2000));
    EXPECT_EQ(large.status, 5);
    EXPECT_EQ(large.err, "Kvalon-P: Твърде голям отчет: стандартен вход (над 100000 байта)\n");
    EXPECT_TRUE(fs::is_empty(temporary()));
    EXPECT_FALSE(file_exists(dir.file("out.pdf")));
}

// KVALON_PDF=r.txt kvalon-p r.txt used to replace the report by its own PDF.
TEST_F(Reliability, ThePdfTargetCannotBeTheReport) {
    fs::create_directory(dir.file("work"));
    const std::string report = dir.file("work/r.txt");
    write_bytes(report, report_lines(10));
    fs::create_symlink(report, dir.file("work/link.txt"));
    fs::create_hard_link(report, dir.file("work/hard.txt"));
    for (const char* name : {"r.txt", "link.txt", "hard.txt"}) {
        const std::string target = dir.file("work/") + name;
        env["KVALON_PDF"] = target;
        const RunResult result = run({report});
        EXPECT_EQ(result.status, 5) << name;
        EXPECT_EQ(result.err, "Kvalon-P: Файлът не може да бъде записан: " + target +
                                  " (това е самият отчет за печат)\n");
        EXPECT_EQ(read_bytes(report), report_lines(10)) << name;
    }
    EXPECT_EQ(names_in(dir.file("work")), (std::set<std::string>{"r.txt", "link.txt", "hard.txt"}));
}

// TERM, INT and HUP used to leave a partial PDF beside the target and the
// whole document of a device target in the temporary folder.
TEST_F(Reliability, EndingSignalsLeaveNoTemporaryFile) {
    const std::string report = dir.file("LONG.TXT");
    write_bytes(report, report_lines(30000));
    fs::create_directory(dir.file("out"));
    struct Case {
        int signal_number;
        std::string target;
        std::string folder; // where the temporary file shows
        std::string prefix;
    };
    const Case cases[] = {
        {SIGTERM, dir.file("out/out.pdf"), dir.file("out"), ".out.pdf."},
        {SIGINT, dir.file("out/out.pdf"), dir.file("out"), ".out.pdf."},
        {SIGHUP, "/dev/stdout", temporary(), "kvalon-p-"},
    };
    for (const Case& c : cases) {
        env["KVALON_PDF"] = c.target;
        const StartedProgram program = start_printing(report, env, dir.file("program.out"));
        ASSERT_TRUE(stop_when(program, [&] { return has_file_starting_with(c.folder, c.prefix); }))
            << c.signal_number;
        ::kill(program.pid, c.signal_number);
        resume(program);
        EXPECT_EQ(exit_status(program), 128 + c.signal_number);
        EXPECT_TRUE(fs::is_empty(dir.file("out"))) << c.signal_number;
        EXPECT_TRUE(fs::is_empty(temporary())) << c.signal_number;
    }
}

// Without a display the menu window used to open where nobody could see it,
// and the program never ended; an empty word from a batch caller did the same.
TEST_F(Reliability, WithoutADisplayTheWindowsAreRefused) {
    env["DISPLAY"] = "";
    env["WAYLAND_DISPLAY"] = "";
    env["QT_QPA_PLATFORM"] = "";
    const RunResult bare = run({});
    EXPECT_EQ(bare.status, 2);
    EXPECT_EQ(bare.err.rfind("Kvalon-P: Прозорците на програмата изискват работен плот, а "
                             "графичен дисплей няма\n\nУпотреба:",
                             0),
              0u)
        << bare.err;
    env["KVALON_PDF"] = dir.file("out.pdf");
    const RunResult empty_word = run({""});
    EXPECT_EQ(empty_word.status, 4);
    EXPECT_EQ(empty_word.err, "Kvalon-P: Липсва файл \n");
}

// Reasons used to read "Липсва файл" for a pipe and arrive in English.
TEST_F(Reliability, ReasonsSayWhatIsWrongInBulgarian) {
    ASSERT_EQ(::mkfifo(dir.file("pipe").c_str(), 0600), 0);
    write_bytes(dir.file("REPORT.TXT"), report_lines(3));
    env["KVALON_PDF"] = dir.file("out.pdf");
    const std::string long_name = dir.file(std::string(300, 'n') + ".pdf");
    struct Case {
        std::vector<std::string> words;
        std::string pdf;
        int status;
        std::string message;
    };
    const Case cases[] = {
        {{dir.file("pipe")}, "", 4, "Не е обикновен файл: " + dir.file("pipe")},
        {{"/dev/zero"}, "", 4, "Не е обикновен файл: /dev/zero"},
        {{dir.file("REPORT.TXT")},
         long_name,
         5,
         "Файлът не може да бъде записан: " + long_name + " (името на файла е твърде дълго)"},
    };
    for (const Case& c : cases) {
        if (!c.pdf.empty()) {
            env["KVALON_PDF"] = c.pdf;
        }
        const RunResult result = run(c.words);
        EXPECT_EQ(result.status, c.status) << c.message;
        EXPECT_EQ(result.err, "Kvalon-P: " + c.message + "\n");
    }
    // A closed standard input is an empty report, never a file of ours read
    // in its place.
    const RunResult closed_input =
        run_program({"timeout", kHangLimit, "sh", "-c", "exec \"$0\" - <&-", kvalon_binary()}, env);
    EXPECT_EQ(closed_input.status, 5);
    EXPECT_EQ(closed_input.err, "Kvalon-P: Файл стандартен вход е с нулева дължина\n");
}

// Every PDF used to be written with mode 0644 whatever the umask and the
// file it replaced, TMPPRNT1.TMP too: payroll reports became world-readable.
TEST_F(Reliability, ReplacedFilesKeepTheirPermissionsAndNewOnesFollowTheUmask) {
    const std::string report = dir.file("REPORT.TXT");
    write_bytes(report, report_lines(3));
    struct Case {
        std::string name;
        mode_t existing; // 0: made new
        std::string umask;
        mode_t expected;
    };
    const Case cases[] = {
        {"new.pdf", 0, "077", 0600},         {"public.pdf", 0, "022", 0644},
        {"private.pdf", 0600, "022", 0600},  {"group.pdf", 0640, "077", 0640},
        {"TMPPRNT1.TMP", 0600, "022", 0600},
    };
    for (const Case& c : cases) {
        const std::string target = dir.file(c.name);
        if (c.existing != 0) {
            write_bytes(target, "old");
            ::chmod(target.c_str(), c.existing);
        }
        const bool answer = c.name == "TMPPRNT1.TMP";
        env["KVALON_PDF"] = answer ? dir.file("unused.pdf") : target;
        const RunResult result =
            run_program({"sh", "-c", "umask " + c.umask + "; exec \"$0\" \"$1\" \"$2\"",
                         kvalon_binary(), report, answer ? "1" : "0"},
                        env);
        EXPECT_EQ(result.status, 0) << c.name << ": " << result.err;
        struct stat info {};
        ASSERT_EQ(::stat(target.c_str(), &info), 0) << c.name;
        EXPECT_EQ(info.st_mode & 07777, c.expected) << c.name;
        EXPECT_NE(read_bytes(target), "old") << c.name;
    }
    // A link of ours is followed as shell redirection follows it: the file it
    // leads to is replaced and keeps its permissions; the link stays.
    write_bytes(dir.file("real.pdf"), "old");
    ::chmod(dir.file("real.pdf").c_str(), 0600);
    fs::create_symlink("real.pdf", dir.file("link.pdf"));
    env["KVALON_PDF"] = dir.file("link.pdf");
    EXPECT_EQ(run({report}).status, 0);
    EXPECT_TRUE(fs::is_symlink(dir.file("link.pdf")));
    EXPECT_EQ(pdf_pages(dir.file("real.pdf")), 1);
    EXPECT_EQ(fs::status(dir.file("real.pdf")).permissions(),
              fs::perms::owner_read | fs::perms::owner_write);
}

// A pipe planted as the PDF target used to hold the program for ever in
// open(). A target that is no ordinary file is refused at once and left as it
// is; the caller's own standard output (/dev/stdout) still takes the PDF.
TEST_F(Reliability, APdfTargetThatIsNoOrdinaryFileIsRefusedAtOnce) {
    write_bytes(dir.file("REPORT.TXT"), report_lines(3));
    ASSERT_EQ(::mkfifo(dir.file("pipe.pdf").c_str(), 0600), 0);
    fs::create_symlink(dir.file("pipe.pdf"), dir.file("link.pdf"));
    const std::string socket_path = dir.file("socket.pdf");
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    socket_path.copy(address.sun_path, sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    for (const std::string& target :
         {dir.file("pipe.pdf"), dir.file("link.pdf"), socket_path, std::string("/dev/full")}) {
        env["KVALON_PDF"] = target;
        const RunResult result = run({dir.file("REPORT.TXT")});
        EXPECT_EQ(result.status, 4) << target;
        EXPECT_EQ(result.err, "Kvalon-P: Не е обикновен файл: " + target + "\n");
    }
    ::close(listener);
    EXPECT_EQ(fs::status(dir.file("pipe.pdf")).type(), fs::file_type::fifo);
    EXPECT_EQ(fs::status("/dev/full").type(), fs::file_type::character);
    // Nothing left behind; the user's data folder (the font) may or may not
    // have been made before the target was refused.
    std::set<std::string> names = names_in(dir.path());
    names.erase("data");
    EXPECT_EQ(names,
              (std::set<std::string>{"REPORT.TXT", "link.pdf", "pipe.pdf", "socket.pdf", "tmp"}));
}

// The stamp our temporary files carry for the run `pid` (see
// platform/temporary_name.h), read as that run would write it.
std::string stamp_of(pid_t pid) {
    std::string boot;
    std::getline(std::ifstream("/proc/sys/kernel/random/boot_id"), boot);
    std::string stat;
    std::getline(std::ifstream("/proc/" + std::to_string(pid) + "/stat"), stat);
    std::istringstream fields(stat.substr(stat.rfind(')') + 2));
    std::string field;
    for (int index = 3; index <= 22; ++index) {
        fields >> field;
    }
    return "kvp" + boot.substr(0, 8) + "." + std::to_string(pid) + "." + field + ".";
}

// A run killed outright (SIGKILL, 50 MB for 10,000 pages) used to leave its
// hidden document beside the target for ever. The next run in that folder
// removes it, and nothing that is not a leftover of a run that is gone.
TEST_F(Reliability, ALaterRunRemovesTheLeftoversOfAKilledRun) {
    const std::string report = dir.file("LONG.TXT");
    write_bytes(report, report_lines(30000));
    fs::create_directory(dir.file("out"));
    env["KVALON_PDF"] = dir.file("out/out.pdf");
    const StartedProgram killed = start_printing(report, env, dir.file("program.out"));
    ASSERT_TRUE(wait_until([&] { return has_file_starting_with(dir.file("out"), ".out.pdf."); }));
    ::kill(killed.pid, SIGKILL);
    EXPECT_EQ(exit_status(killed), 128 + SIGKILL);
    const std::set<std::string> left = names_in(dir.file("out"));
    ASSERT_EQ(left.size(), 1u);
    // A run still going, an earlier boot's file of another name, and names
    // that only look like ours.
    const std::set<std::string> kept = {
        ".other.pdf." + stamp_of(::getpid()) + "Abc123",
        ".out.pdf.part",
        "out.kvp00000000.1.1.Abc123",
    };
    for (const std::string& name : kept) {
        write_bytes(dir.file("out/") + name, "not a leftover");
    }
    write_bytes(dir.file("out/.old.pdf.kvp00000000.1.1.Xyz789"), "an earlier boot's leftover");
    write_bytes(dir.file("REPORT.TXT"), report_lines(3));
    EXPECT_EQ(run({dir.file("REPORT.TXT")}).status, 0);
    std::set<std::string> expected = kept;
    expected.insert("out.pdf");
    EXPECT_EQ(names_in(dir.file("out")), expected) << *left.begin() << " was the killed run's";
}

} // namespace
} // namespace kvalon::testing
