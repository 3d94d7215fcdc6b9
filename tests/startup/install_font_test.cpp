#include "startup/install_font.h"

#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <set>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace kvalon {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

const std::string kTwoMessagesFirst = "В директорията на приложението липсва файл crcn.ttf";
const std::string kTwoMessagesSecond = "Трябва самостоятелно да инсталирате фонт CourierCyr";
const std::string kCopyFailed = "Трябва да инсталирате CourierCyr от файл crcn.ttf";
const std::string kFontBytes(64 * 1024, 'F');

std::set<std::string> names_in(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

class InstallFont : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(program_folder);
        testing::write_bytes(source_file, kFontBytes);
    }

    std::optional<std::string> install(std::vector<std::string> faces, FontsFolder folder = {}) {
        if (folder.status == FontsFolder::Status::NotFound && folder.path.empty()) {
            folder = {FontsFolder::Status::Found, fonts_folder};
        }
        FontInstallation installation;
        installation.offered_faces = std::move(faces);
        installation.face = "CourierCyr";
        installation.file_name = "crcn.ttf";
        installation.program_folder = program_folder;
        installation.find_fonts_folder = [this, folder] {
            ++folder_lookups;
            return folder;
        };
        installation.show_message = [this](const std::string& text) { messages.push_back(text); };
        return install_font_file(installation);
    }

    TempDir dir;
    const std::string program_folder = dir.file("program");
    const std::string source_file = program_folder + "/crcn.ttf";
    const std::string fonts_folder = dir.file("data/fonts");
    const std::string target = fonts_folder + "/crcn.ttf";
    std::vector<std::string> messages;
    int folder_lookups = 0;
};

TEST_F(InstallFont, OfferedFaceEndsItWithoutTouchingAnything) {
    fs::remove(source_file); // were the installation to go on, it would complain
    const std::vector<std::vector<std::string>> lists = {
        {"CourierCyr"},
        {"CourierCyr", "DejaVu Sans"},
        {"DejaVu Sans", "Liberation Mono", "CourierCyr"},
        {"CourierCyr", "couriercyr", "CourierCyr"},
    };
    for (const auto& faces : lists) {
        SCOPED_TRACE(faces.back());
        EXPECT_EQ(install(faces), std::nullopt);
        EXPECT_TRUE(messages.empty());
        EXPECT_EQ(folder_lookups, 0);
        EXPECT_FALSE(fs::exists(dir.file("data")));
    }
}

TEST_F(InstallFont, NameOnlyInAnotherSpellingInstallsTheFile) {
    const std::vector<std::vector<std::string>> lists = {
        {}, {"couriercyr"}, {"COURIERCYR"}, {"CourierCyr "}, {" CourierCyr"}, {"CourierCyr Bold"},
    };
    for (const auto& faces : lists) {
        SCOPED_TRACE(faces.empty() ? "(no faces)" : faces.front());
        fs::remove_all(dir.file("data"));
        EXPECT_EQ(install(faces), target);
        EXPECT_TRUE(messages.empty());
        // The folder is created when missing; nothing but the font is left in it.
        EXPECT_EQ(testing::read_bytes(target), kFontBytes);
        EXPECT_EQ(names_in(fonts_folder), std::set<std::string>{"crcn.ttf"});
        EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                      fs::perms::others_read);
    }
}

TEST_F(InstallFont, MissingFontFileGivesExactlyTwoMessages) {
    fs::create_directories(fonts_folder);
    testing::write_bytes(target, "OLD");
    const std::vector<std::string> expected = {kTwoMessagesFirst, kTwoMessagesSecond};

    fs::remove(source_file);
    EXPECT_EQ(install({"Arial"}), std::nullopt);
    EXPECT_EQ(messages, expected);

    // A folder of that name is no font file either.
    messages.clear();
    fs::create_directory(source_file);
    EXPECT_EQ(install({"Arial"}), std::nullopt);
    EXPECT_EQ(messages, expected);

    EXPECT_EQ(testing::read_bytes(target), "OLD");
}

TEST_F(InstallFont, ReadOnlyOldCopyIsReplaced) {
    fs::create_directories(fonts_folder);
    testing::write_bytes(target, "OLD");
    fs::permissions(target, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(install({"Arial"}), target);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(testing::read_bytes(target), kFontBytes);
    EXPECT_EQ(names_in(fonts_folder), std::set<std::string>{"crcn.ttf"});
}

TEST_F(InstallFont, FontsFolderThatCannotBeMadeGivesOneMessage) {
    // The folder's parent is a file, which stops even the superuser.
    testing::write_bytes(dir.file("data"), "not a folder");
    // The process still prints in the face, from the delivered file.
    EXPECT_EQ(install({"Arial"}), source_file);
    EXPECT_EQ(messages, std::vector<std::string>{kCopyFailed});
}

TEST_F(InstallFont, ReadOnlyFontsFolderGivesOneMessage) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "the superuser writes into read-only folders";
    }
    fs::create_directories(fonts_folder);
    testing::write_bytes(target, "OLD");
    fs::permissions(fonts_folder, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(install({"Arial"}), source_file);
    EXPECT_EQ(messages, std::vector<std::string>{kCopyFailed});
    fs::permissions(fonts_folder, fs::perms::owner_all);
    EXPECT_EQ(testing::read_bytes(target), "OLD");
}

// A file size limit makes the copy fail half-way, for the superuser too.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_handler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_saved{};
    void (*m_handler)(int) = nullptr;
};

TEST_F(InstallFont, FailedCopyLeavesTheOldCopyIntact) {
    fs::create_directories(fonts_folder);
    testing::write_bytes(target, "OLD");
    std::optional<std::string> registered;
    {
        const FileSizeLimit limit(1024);
        registered = install({"Arial"});
    }
    EXPECT_EQ(registered, source_file);
    EXPECT_EQ(messages, std::vector<std::string>{kCopyFailed});
    EXPECT_EQ(testing::read_bytes(target), "OLD");
    EXPECT_EQ(names_in(fonts_folder), std::set<std::string>{"crcn.ttf"});
}

TEST_F(InstallFont, NoFontsFolderCopiesNothing) {
    const FontsFolder none{FontsFolder::Status::NotFound, "unused"};
    EXPECT_EQ(install({"Arial"}, none), source_file);
    EXPECT_EQ(messages, std::vector<std::string>{kCopyFailed});
    EXPECT_EQ(names_in(program_folder), std::set<std::string>{"crcn.ttf"});
    EXPECT_EQ(testing::read_bytes(source_file), kFontBytes);
}

TEST_F(InstallFont, UnknownPlatformSaysSoAndStops) {
    EXPECT_EQ(install({"Arial"}, {FontsFolder::Status::UnknownPlatform, {}}), std::nullopt);
    EXPECT_EQ(messages, std::vector<std::string>{"Неизвестна операционна система"});
    EXPECT_FALSE(fs::exists(dir.file("data")));
}

// A fonts folder that cannot be written gives way to the user's own; the copy
// that is made, and only that one, is told to the system with its folder.
TEST_F(InstallFont, ClosedFontsFolderGivesWayToTheUsersOwn) {
    struct Case {
        const char* name;
        bool system_open;
        bool own_open;
        std::string installed;
        bool own_folder;
    };
    const std::string own_folder = dir.file("own/Fonts");
    const std::vector<Case> cases = {
        {"system folder open", true, true, target, false},
        {"system folder closed", false, true, own_folder + "/crcn.ttf", true},
        {"both closed", false, false, source_file, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(dir.file("data"));
        fs::remove_all(dir.file("own"));
        messages.clear();
        // A folder whose parent is a file cannot be made, even by the superuser.
        if (!c.system_open) {
            testing::write_bytes(dir.file("data"), "not a folder");
        }
        if (!c.own_open) {
            testing::write_bytes(dir.file("own"), "not a folder");
        }
        FontInstallation installation;
        installation.offered_faces = {"Arial"};
        installation.face = "CourierCyr";
        installation.file_name = "crcn.ttf";
        installation.program_folder = program_folder;
        installation.find_fonts_folder = [this] {
            return FontsFolder{FontsFolder::Status::Found, fonts_folder};
        };
        installation.show_message = [this](const std::string& text) { messages.push_back(text); };
        installation.find_own_fonts_folder = [&] { return std::optional(own_folder); };
        std::vector<std::pair<std::string, bool>> told;
        installation.make_known = [&](const std::string& file, bool own) {
            told.emplace_back(file, own);
        };
        EXPECT_EQ(install_font_file(installation), c.installed);
        if (c.installed == source_file) {
            EXPECT_TRUE(told.empty());
            EXPECT_EQ(messages, std::vector<std::string>{kCopyFailed});
        } else {
            EXPECT_EQ(told,
                      (std::vector<std::pair<std::string, bool>>{{c.installed, c.own_folder}}));
            EXPECT_EQ(testing::read_bytes(c.installed), kFontBytes);
            EXPECT_TRUE(messages.empty());
        }
    }
}

} // namespace
} // namespace kvalon
