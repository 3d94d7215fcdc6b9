#include "engine/code_page.h"
#include "engine/code_page_guess.h"
#include "printing/utf8_walk.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iomanip>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace kvalon::testing {
namespace {

// What DOS users typed for a character their code page lacked.
const std::map<char32_t, char32_t> kStandIns = {
    {U'№', U'N'}, {U'Ё', U'Е'}, {U'ё', U'е'}, {U'І', U'I'}, {U'і', U'i'}, {U'Ґ', U'Г'},
    {U'ґ', U'г'}, {U'À', U'A'}, {U'Â', U'A'}, {U'Á', U'A'}, {U'È', U'E'}, {U'Ê', U'E'},
    {U'Ë', U'E'}, {U'É', U'E'}, {U'Î', U'I'}, {U'Ï', U'I'}, {U'Í', U'I'}, {U'Ô', U'O'},
    {U'Ó', U'O'}, {U'Û', U'U'}, {U'Ù', U'U'}, {U'Ú', U'U'}, {U'Ç', U'C'},
};

// The report in `page`, a character the page lacks by its stand-in; nothing
// when a character has neither.
std::optional<std::string> written_in(const std::string& utf8, CodePageId page) {
    std::map<char32_t, char> bytes;
    for (int code = 255; code >= 0; --code) {
        bytes[character_of(page, static_cast<unsigned char>(code))] = static_cast<char>(code);
    }
    std::string report;
    bool complete = true;
    for_each_code_point(utf8, [&](char32_t c) {
        const auto stand_in = kStandIns.find(c);
        if (!bytes.count(c) && stand_in != kStandIns.end()) {
            c = stand_in->second;
        }
        const auto byte = bytes.find(c);
        complete = complete && byte != bytes.end();
        if (byte != bytes.end()) {
            report.push_back(byte->second);
        }
    });
    if (!complete) {
        return std::nullopt;
    }
    return report;
}

struct Tally {
    int right = 0;
    int total = 0;
    void add(bool is_right) {
        right += is_right ? 1 : 0;
        ++total;
    }
    double share() const { return total == 0 ? 0 : 100.0 * right / total; }
};

std::string percent(const Tally& t) {
    std::ostringstream out;
    if (t.total == 0) {
        out << "—";
    } else {
        out << std::fixed << std::setprecision(1) << t.share() << " (" << t.total << ")";
    }
    return out.str();
}

// "bg-single-200-3.txt" -> language, frame, letters.
std::vector<std::string> name_parts(const std::string& file_name) {
    std::vector<std::string> parts;
    std::string stem = file_name.substr(0, file_name.rfind('.'));
    for (std::size_t i = 0; i < 3; ++i) {
        const std::size_t dash = stem.rfind('-');
        parts.insert(parts.begin(), stem.substr(dash + 1));
        stem = stem.substr(0, dash);
    }
    parts.insert(parts.begin(), stem);
    return parts;
}

// Reports in eleven languages, with and without frames, from 200 letters up,
// written in every code page that holds their characters (or the stand-ins
// DOS users typed for them): the page told is
// right when it prints the report as the page it was written in does. A MIK
// report is never taken for another page. Prints the table of the figures.
TEST(CodePageGuessAccuracy, NinetyNinePercentRightAndMikNeverMistaken) {
    TempDir dir;
    const RunResult made = run_program(
        {"python3", source_dir() + "/scripts/make_code_page_reports.py", dir.path(), "10"});
    ASSERT_EQ(made.status, 0) << made.err;
    std::map<std::string, std::map<CodePageId, Tally>> by_language;
    std::map<std::string, Tally> by_frame;
    std::map<std::string, Tally> by_letters;
    Tally all;
    int mik_mistaken = 0;
    int mik_reports = 0;
    std::vector<std::string> wrong;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        const std::string utf8 = read_bytes(entry.path().string());
        const std::vector<std::string> parts = name_parts(entry.path().filename().string());
        for (std::size_t p = 0; p < kCodePageCount; ++p) {
            const auto page = static_cast<CodePageId>(p);
            const std::optional<std::string> report = written_in(utf8, page);
            if (!report) {
                continue;
            }
            const CodePageGuess guess = guess_code_page(*report);
            const bool right =
                code_page_to_utf8(guess.page, *report) == code_page_to_utf8(page, *report);
            if (page == CodePageId::Mik) {
                ++mik_reports;
                mik_mistaken += guess.page != CodePageId::Mik ? 1 : 0;
            }
            if (!right) {
                wrong.push_back(entry.path().filename().string() + " in " +
                                std::string(code_page_name(page)) + " told " +
                                std::string(code_page_name(guess.page)) + " " +
                                std::to_string(guess.certainty) + "%");
            }
            by_language[parts[0]][page].add(right);
            by_frame[parts[1]].add(right);
            by_letters[parts[2]].add(right);
            all.add(right);
        }
    }
    std::cout << "| language |";
    for (std::size_t p = 0; p < kCodePageCount; ++p) {
        std::cout << " " << code_page_name(static_cast<CodePageId>(p)) << " |";
    }
    std::cout << "\n|---|";
    for (std::size_t p = 0; p < kCodePageCount; ++p) {
        std::cout << "---|";
    }
    std::cout << "\n";
    for (const auto& [language, pages] : by_language) {
        std::cout << "| " << language << " |";
        for (std::size_t p = 0; p < kCodePageCount; ++p) {
            const auto found = pages.find(static_cast<CodePageId>(p));
            std::cout << " " << (found == pages.end() ? std::string("—") : percent(found->second))
                      << " |";
        }
        std::cout << "\n";
    }
    for (const auto& [frame, tally] : by_frame) {
        std::cout << "frame " << frame << ": " << percent(tally) << "\n";
    }
    for (const auto& [letters, tally] : by_letters) {
        std::cout << "letters " << letters << ": " << percent(tally) << "\n";
    }
    std::cout << "all: " << all.right << " of " << all.total << " right (" << std::setprecision(2)
              << std::fixed << all.share() << " %)\n";
    std::cout << "MIK reports taken for another page: " << mik_mistaken << " of " << mik_reports
              << "\n";
    for (const std::string& line : wrong) {
        std::cout << "wrong: " << line << "\n";
    }
    EXPECT_GE(all.share(), 99.0);
    EXPECT_EQ(mik_mistaken, 0);
}

} // namespace
} // namespace kvalon::testing
