#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace kvalon::testing {
namespace {

namespace fs = std::filesystem;

const std::string kFirstOfTwo = "Kvalon-P: В директорията на приложението липсва файл crcn.ttf\n";
const std::string kSecondOfTwo = "Kvalon-P: Трябва самостоятелно да инсталирате фонт CourierCyr\n";
const std::string kCopyFailed = "Kvalon-P: Трябва да инсталирате CourierCyr от файл crcn.ttf\n";

std::vector<std::string> words_of(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string word; in >> word;) {
        words.push_back(word);
    }
    return words;
}

// The fonts of a PDF as pdffonts lists them: name and whether it is embedded.
std::map<std::string, bool> pdf_fonts(const std::string& pdf) {
    const RunResult result = run_program({"pdffonts", pdf});
    EXPECT_EQ(result.status, 0) << result.err;
    std::map<std::string, bool> fonts;
    std::istringstream lines(result.out);
    std::string line;
    std::getline(lines, line); // header
    std::getline(lines, line); // rule
    while (std::getline(lines, line)) {
        const std::vector<std::string> words = words_of(line);
        // name, type (one or two words), encoding, emb, sub, uni, object, generation
        if (words.size() >= 7) {
            fonts[words.front()] = words[words.size() - 5] == "yes";
        }
    }
    return fonts;
}

void expect_only_our_font_embedded(const std::string& pdf) {
    const std::map<std::string, bool> fonts = pdf_fonts(pdf);
    ASSERT_FALSE(fonts.empty()) << pdf;
    for (const auto& [name, embedded] : fonts) {
        // A subset carries a six-letter tag in front of the name.
        EXPECT_TRUE(name == "CourierCyr-Regular" || name.ends_with("+CourierCyr-Regular")) << name;
        EXPECT_TRUE(embedded) << name;
    }
}

struct FileIdentity {
    ino_t inode = 0;
    timespec modified{};
};

FileIdentity identity_of(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(stat(path.c_str(), &info), 0) << path;
    return {info.st_ino, info.st_mtim};
}

// The program's own messages on standard error, without Qt's warnings.
std::string messages_of(const RunResult& result) {
    std::istringstream lines(result.err);
    std::string messages;
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with("Kvalon-P: ")) {
            messages += line + "\n";
        }
    }
    return messages;
}

std::string built_font() {
    return (fs::path(kvalon_binary()).parent_path() / "crcn.ttf").string();
}

// The windows draw with the system's fonts and install ours at every start
// where the system lacks it; given a report, their program prints it as the
// batch program does, so a print shows what the start installed.
std::string windows_program() {
    return (fs::path(kvalon_binary()).parent_path() / "kvalon-p-desktop").string();
}

// The real programs in a user account of their own: a fresh home, data, cache
// and configuration folder, printing a small report into the PDF printer.
class FontInstall : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(dir.file("home"));
        write_bytes(report, to_mik("Отчет №5\r\n┌──┬──┐\r\n│АБ│вг│\r\n└──┴──┘\r\n"));
        env = {{"HOME", dir.file("home")},
               {"XDG_DATA_HOME", dir.file("data")},
               {"XDG_CACHE_HOME", dir.file("cache")},
               {"XDG_CONFIG_HOME", dir.file("config")},
               {"DISPLAY", ""},
               {"WAYLAND_DISPLAY", ""},
               {"QT_QPA_PLATFORM", "offscreen"}};
    }

    RunResult print(const std::string& pdf, const std::string& binary = windows_program()) {
        env["KVALON_PDF"] = pdf;
        return run_program({binary, report}, env);
    }

    // The first start installs the font and prints in it; the second finds
    // it through fontconfig and leaves the file alone.
    void install_then_find() {
        const RunResult first = print(dir.file("first.pdf"));
        ASSERT_EQ(first.status, 0) << first.err;
        EXPECT_EQ(messages_of(first), "");
        ASSERT_TRUE(file_exists(installed));
        EXPECT_EQ(read_bytes(installed), read_bytes(built_font()));
        // The run that installed the font already prints in it.
        expect_only_our_font_embedded(dir.file("first.pdf"));

        // Other programs of this user see the font at once, with no cache update.
        const RunResult listed =
            run_program({"fc-list", "--format=%{file}\n", ":family=CourierCyr"}, env);
        EXPECT_EQ(listed.out, installed + "\n");

        const FileIdentity before = identity_of(installed);
        const RunResult second = print(dir.file("second.pdf"));
        ASSERT_EQ(second.status, 0) << second.err;
        EXPECT_EQ(messages_of(second), "");
        const FileIdentity after = identity_of(installed);
        EXPECT_EQ(after.inode, before.inode);
        EXPECT_EQ(after.modified.tv_sec, before.modified.tv_sec);
        EXPECT_EQ(after.modified.tv_nsec, before.modified.tv_nsec);
        expect_only_our_font_embedded(dir.file("second.pdf"));
    }

    TempDir dir;
    const std::string report = dir.file("REPORT.TXT");
    const std::string installed = dir.file("data/fonts/crcn.ttf");
    std::map<std::string, std::string> env;
};

TEST_F(FontInstall, FirstStartInstallsSecondStartFindsIt) {
    if (!windows_program_built()) {
        GTEST_SKIP() << kNoWindowsProgram;
    }
    install_then_find();
}

TEST_F(FontInstall, NewFontInAFolderFontconfigHasCachedIsFound) {
    if (!windows_program_built()) {
        GTEST_SKIP() << kNoWindowsProgram;
    }
    // A user with a font of their own, already in fontconfig's cache.
    const std::string other = dir.file("data/fonts/other.ttf");
    fs::create_directories(dir.file("data/fonts"));
    fs::copy_file("/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf", other);
    const RunResult cached = run_program({"fc-list", "--format=%{file}\n"}, env);
    ASSERT_NE(cached.out.find(other), std::string::npos);
    install_then_find();
}

TEST_F(FontInstall, OldCopyIsReplacedWhenTheSystemDoesNotOfferTheFace) {
    if (!windows_program_built()) {
        GTEST_SKIP() << kNoWindowsProgram;
    }
    // A damaged copy that no font list offers: the start puts a sound one in its place.
    fs::create_directories(dir.file("data/fonts"));
    write_bytes(installed, "not a font");
    fs::permissions(installed, fs::perms::owner_read);
    const RunResult result = print(dir.file("out.pdf"));
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(read_bytes(installed), read_bytes(built_font()));
    expect_only_our_font_embedded(dir.file("out.pdf"));
}

// The batch program's printer prints in the font file beside it, so that
// printer offers the face: nothing is installed, nothing said.
TEST_F(FontInstall, BatchPrintsInTheFontBesideItAndInstallsNothing) {
    const RunResult result = print(dir.file("out.pdf"), kvalon_binary());
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(messages_of(result), "");
    EXPECT_FALSE(file_exists(dir.file("data/fonts")));
    expect_only_our_font_embedded(dir.file("out.pdf"));
}

TEST_F(FontInstall, FontFileMissingBesideTheProgramGivesTwoMessages) {
    // The program alone in a folder of its own, without crcn.ttf beside it.
    const std::string lonely = dir.file("program/kvalon-p");
    fs::create_directories(dir.file("program"));
    fs::copy_file(kvalon_binary(), lonely);
    const RunResult result = print(dir.file("out.pdf"), lonely);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(messages_of(result), kFirstOfTwo + kSecondOfTwo);
    EXPECT_FALSE(file_exists(dir.file("data/fonts")));
    // The start went on and printed the report all the same, in a monospaced
    // face of the system.
    EXPECT_GT(fs::file_size(dir.file("out.pdf")), 0u);
    for (const auto& [name, embedded] : pdf_fonts(dir.file("out.pdf"))) {
        EXPECT_FALSE(name.ends_with("CourierCyr-Regular")) << name;
        EXPECT_TRUE(embedded) << name;
    }
}

TEST_F(FontInstall, FontsFolderThatCannotBeMadeGivesOneMessage) {
    if (!windows_program_built()) {
        GTEST_SKIP() << kNoWindowsProgram;
    }
    write_bytes(dir.file("data"), "a file where the data folder should be");
    const RunResult result = print(dir.file("out.pdf"));
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(messages_of(result), kCopyFailed);
    // This run still prints in the face, from the file beside the program.
    expect_only_our_font_embedded(dir.file("out.pdf"));
}

} // namespace
} // namespace kvalon::testing
