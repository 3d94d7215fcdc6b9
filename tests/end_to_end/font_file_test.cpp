#include "engine/code_page.h"
#include "engine/escp/escp_characters.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace kvalon::testing {
namespace {

namespace fs = std::filesystem;

std::string beside_program(const std::string& name) {
    return (fs::path(kvalon_binary()).parent_path() / name).string();
}

std::string query(const std::string& font, const std::string& format) {
    const RunResult result = run_program({"fc-query", "--format=" + format, font});
    EXPECT_EQ(result.status, 0) << result.err;
    return result.out;
}

// fontconfig's charset: blank-separated hex code points and ranges ("20-7e a0").
std::vector<std::pair<char32_t, char32_t>> ranges_of(const std::string& charset) {
    std::vector<std::pair<char32_t, char32_t>> ranges;
    std::istringstream in(charset);
    for (std::string word; in >> word;) {
        const auto dash = word.find('-');
        const auto first = static_cast<char32_t>(std::stoul(word.substr(0, dash), nullptr, 16));
        const auto last =
            dash == std::string::npos
                ? first
                : static_cast<char32_t>(std::stoul(word.substr(dash + 1), nullptr, 16));
        ranges.emplace_back(first, last);
    }
    return ranges;
}

bool covers(const std::vector<std::pair<char32_t, char32_t>>& ranges, char32_t code_point) {
    for (const auto& [first, last] : ranges) {
        if (first <= code_point && code_point <= last) {
            return true;
        }
    }
    return false;
}

TEST(FontFile, NamesOnlyCourierCyr) {
    const std::string font = beside_program("crcn.ttf");
    ASSERT_TRUE(file_exists(font));
    EXPECT_EQ(query(font, "%{family}|%{style}|%{fullname}|%{postscriptname}|%{spacing}"),
              "CourierCyr|Regular|CourierCyr|CourierCyr-Regular|100");
}

// Every character of every code page, and of the printer's national sets in
// the ESC/P mode, prints as a glyph of our own font, never as a fallback
// face's or an empty box.
TEST(FontFile, CoversEveryCharacterOfEveryCodePage) {
    const auto ranges = ranges_of(query(beside_program("crcn.ttf"), "%{charset}"));
    for (char32_t c = 0x20; c < 0x7f; ++c) {
        EXPECT_TRUE(covers(ranges, c)) << std::hex << static_cast<unsigned>(c);
    }
    for (std::size_t page = 0; page < kCodePageCount; ++page) {
        const auto id = static_cast<CodePageId>(page);
        for (int code = 128; code < 256; ++code) {
            const char32_t c = character_of(id, static_cast<unsigned char>(code));
            EXPECT_TRUE(c == 0xFFFD || covers(ranges, c))
                << code_page_name(id) << " " << code << " U+" << std::hex
                << static_cast<unsigned>(c);
        }
    }
    for (const int set : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 64}) {
        for (unsigned char code = 0x20; code < 0x7f; ++code) {
            const char32_t c = escp_character(code, kEscpGraphicsTable,
                                              static_cast<unsigned char>(set), CodePageId::Mik)
                                   .character;
            EXPECT_TRUE(covers(ranges, c))
                << "ESC R " << set << " U+" << std::hex << static_cast<unsigned>(c);
        }
    }
}

TEST(FontFile, LicenseLiesBesideIt) {
    const std::string license = read_bytes(beside_program("OFL.txt"));
    EXPECT_NE(license.find("SIL OPEN FONT LICENSE Version 1.1"), std::string::npos);
    EXPECT_NE(license.find("Reserved Font Name Liberation"), std::string::npos);
}

} // namespace
} // namespace kvalon::testing
