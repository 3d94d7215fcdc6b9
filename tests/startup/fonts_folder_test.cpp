#include "platform/fonts_folder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kvalon {
namespace {

using Status = FontsFolder::Status;

struct WalkCase {
    const char* name;
    int platform_code;
    Environment environment;
    Status status;
    std::string folder;
};

Environment filler(std::size_t count) {
    Environment entries;
    for (std::size_t i = 0; i < count; ++i) {
        entries.push_back("VAR" + std::to_string(i) + "=x");
    }
    return entries;
}

Environment with(Environment entries, const std::string& last) {
    entries.push_back(last);
    return entries;
}

TEST(WindowsFontsFolder, WalksTheEnvironment) {
    const std::vector<WalkCase> cases = {
        {"name in any case, value keeps its case",
         kPlatformWin9x,
         {"PATH=C:\\DOS", "winbootdir=C:\\Windows"},
         Status::Found,
         "C:\\Windows\\FONTS\\"},
        {"code 2 reads SYSTEMROOT",
         kPlatformNt,
         {"WINBOOTDIR=C:\\WIN95", "SystemRoot=C:\\WINNT"},
         Status::Found,
         "C:\\WINNT\\FONTS\\"},
        {"a longer name matches, the later one wins",
         kPlatformNt,
         {"SystemRoot=C:\\WINNT", "SYSTEMROOTX=D:\\X"},
         Status::Found,
         "D:\\X\\FONTS\\"},
        {"an earlier match loses to a later one",
         kPlatformNt,
         {"SYSTEMROOTX=D:\\X", "SystemRoot=C:\\WINNT"},
         Status::Found,
         "C:\\WINNT\\FONTS\\"},
        {"the value is everything after the first =",
         kPlatformNt,
         {"SYSTEMROOT=C:\\A=B"},
         Status::Found,
         "C:\\A=B\\FONTS\\"},
        {"the name only elsewhere in the entry",
         kPlatformNt,
         {"PATH=C:\\SYSTEMROOT", "MYSYSTEMROOT=C:\\X"},
         Status::NotFound,
         ""},
        {"an empty entry ends the walk",
         kPlatformNt,
         {"A=1", "", "SYSTEMROOT=C:\\WINNT"},
         Status::NotFound,
         ""},
        {"entry 200 is examined", kPlatformNt, with(filler(199), "SYSTEMROOT=C:\\LAST"),
         Status::Found, "C:\\LAST\\FONTS\\"},
        {"entry 201 is not", kPlatformNt, with(filler(200), "SYSTEMROOT=C:\\LAST"),
         Status::NotFound, ""},
        {"no environment", kPlatformWin9x, {}, Status::NotFound, ""},
        {"platform code 0", 0, {"SYSTEMROOT=C:\\WINNT"}, Status::UnknownPlatform, ""},
        {"platform code 3", 3, {"WINBOOTDIR=C:\\WIN"}, Status::UnknownPlatform, ""},
    };
    for (const WalkCase& c : cases) {
        SCOPED_TRACE(c.name);
        const FontsFolder found = windows_fonts_folder(c.platform_code, c.environment);
        EXPECT_EQ(found.status, c.status);
        EXPECT_EQ(found.path, c.folder);
    }
}

TEST(UserFontsFolder, FollowsTheXdgConvention) {
    struct Case {
        const char* name;
        Environment environment;
        std::optional<std::string> folder;
    };
    const std::vector<Case> cases = {
        {"XDG_DATA_HOME set", {"HOME=/home/ana", "XDG_DATA_HOME=/data"}, "/data/fonts"},
        {"XDG_DATA_HOME unset", {"HOME=/home/ana"}, "/home/ana/.local/share/fonts"},
        {"XDG_DATA_HOME empty",
         {"XDG_DATA_HOME=", "HOME=/home/ana"},
         "/home/ana/.local/share/fonts"},
        {"XDG_DATA_HOME relative",
         {"XDG_DATA_HOME=data", "HOME=/home/ana"},
         "/home/ana/.local/share/fonts"},
        {"a longer name is another variable",
         {"XDG_DATA_HOMES=/x", "HOME=/h"},
         "/h/.local/share/fonts"},
        {"neither", {"PATH=/bin"}, std::nullopt},
        {"relative HOME", {"HOME=ana"}, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(user_fonts_folder(c.environment), c.folder);
    }
}

TEST(ProcessEnvironment, HoldsTheProcessVariables) {
    setenv("KVALON_FONTS_FOLDER_TEST", "a=b", 1);
    const Environment entries = process_environment();
    unsetenv("KVALON_FONTS_FOLDER_TEST");
    EXPECT_NE(std::find(entries.begin(), entries.end(), "KVALON_FONTS_FOLDER_TEST=a=b"),
              entries.end());
}

} // namespace
} // namespace kvalon
