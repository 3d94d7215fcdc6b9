#include "engine/code_page.h"
#include "tests/end_to_end/pdf_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace kvalon::testing {
namespace {

// The text of a PDF's page 1, its lines as its words stand on them; an
// italic word's box may stand a little higher than its line's.
std::vector<std::string> text_lines(const std::string& pdf) {
    std::vector<PdfWord> words = pdf_words(pdf);
    std::sort(words.begin(), words.end(),
              [](const PdfWord& a, const PdfWord& b) { return a.y_min < b.y_min; });
    std::vector<std::vector<PdfWord>> rows;
    for (const PdfWord& word : words) {
        if (rows.empty() || word.y_min > rows.back().front().y_min + 2) {
            rows.emplace_back();
        }
        rows.back().push_back(word);
    }
    std::vector<std::string> lines;
    for (std::vector<PdfWord>& row : rows) {
        std::sort(row.begin(), row.end(),
                  [](const PdfWord& a, const PdfWord& b) { return a.x_min < b.x_min; });
        std::string line;
        for (const PdfWord& word : row) {
            line += (line.empty() ? "" : " ") + word.text;
        }
        lines.push_back(line);
    }
    return lines;
}

class CodePagePdf : public PdfRun {
protected:
    // Prints `bytes` with the options; the plan that placed the cells.
    std::map<std::string, std::string> print(const std::string& bytes,
                                             const std::vector<std::string>& options) {
        write_bytes(dir.file("REPORT.TXT"), bytes);
        std::vector<std::string> words = options;
        words.push_back(dir.file("REPORT.TXT"));
        std::vector<std::string> planning = words;
        planning.insert(planning.begin(), "--plan");
        const RunResult planned = run(planning);
        EXPECT_EQ(planned.status, 0) << planned.err;
        const RunResult printed = run(words);
        EXPECT_EQ(printed.status, 0) << printed.err;
        return parse_plan(planned.out);
    }
};

const std::vector<std::string> kFrame = {"┌────┬────┐", "│ab  │cd  │", "└────┴────┘"};

// A report in each code page prints its own letters, which the text layer
// gives back as they are, and its frames as joined lines.
TEST_F(CodePagePdf, EveryCodePagePrintsItsTextAndJoinedFrames) {
    struct Case {
        CodePageId page;
        const char* iconv_name; // iconv lacks the Kamenický page: its line is given in bytes
        const char* line;
        const char* printed; // the text layer's line, where it differs
    };
    const Case cases[] = {
        {CodePageId::Mik, "MIK", "Отчет за склада № 5 § ± °", "Отчет за склада N 5 § ± °"},
        {CodePageId::Cp866, "CP866", "Счёт-фактура № 12 Ўзбек ї", nullptr},
        {CodePageId::Cp437, "IBM437", "Größe Straße café niño £ ½", nullptr},
        {CodePageId::Cp850, "IBM850", "Façade À la Française Øre ©", nullptr},
        {CodePageId::Cp852, "IBM852", "Žluťoučký kůň Łódź Gdańsk", nullptr},
        {CodePageId::Cp855, "IBM855", "Ђорђе Љубовија Њива Ћуприја Џак", nullptr},
        {CodePageId::Cp857, "IBM857", "Şişli İstanbul ağaç ılık", nullptr},
        {CodePageId::Kamenicky, "IBM437", "Příliš žluťoučký kůň úpěl ďábelské ódy", nullptr},
        {CodePageId::Cp1251, "CP1251", "Ґанок Її Єва Ўзбек №7 „€“", nullptr},
        {CodePageId::Koi8R, "KOI8-R", "Съешь ещё этих мягких булок", nullptr},
    };
    // The Kamenický letters over 128: code page 437's frames below them.
    const std::string kamenicky_line = "P\xa9\xa1li\xa8 \x91lu\x9fou\x87k\x98 k\x96\xa4 \xa3p\x88l "
                                       "\x83\xa0"
                                       "belsk\x82 \xa2"
                                       "dy";
    for (const Case& c : cases) {
        const std::string name(code_page_name(c.page));
        const bool framed = c.page != CodePageId::Cp1251;
        std::string frame = "\r\n\r\n";
        for (const std::string& row : kFrame) {
            frame += (framed ? row : std::string("|ab  |cd  |")) + "\r\n";
        }
        const std::string utf8 = c.line + frame;
        const std::string bytes = c.page == CodePageId::Kamenicky
                                      ? kamenicky_line + iconv_bytes(frame, c.iconv_name)
                                      : iconv_bytes(utf8, c.iconv_name);
        ASSERT_EQ(code_page_to_utf8(c.page, bytes), utf8) << name;
        const auto plan = print(bytes, {"--code-page", name});
        EXPECT_EQ(plan.at("CodePage"), name);
        const std::vector<std::string> lines = text_lines(pdf());
        ASSERT_GE(lines.size(), 2u) << name;
        EXPECT_EQ(lines[0], c.printed != nullptr ? c.printed : c.line) << name;
        EXPECT_EQ(lines[1], framed ? "ab cd" : "|ab |cd |") << name;
        if (!framed) {
            continue;
        }
        const double width = std::stod(plan.at("CharWidth"));
        const double height = std::stod(plan.at("LineHeight"));
        const int indent = std::stoi(plan.at("LeftIndent"));
        const auto x = [&](int column) { return (indent + column + 0.5) * width; };
        const auto y = [&](int row) { return (2 + row + 0.5) * height; };
        const GreyImage page = render_page(pdf(), 1, 150);
        for (const int column : {0, 5, 10}) {
            EXPECT_TRUE(dark_along(page, x(column), y(2), x(column), y(4))) << name << column;
        }
        for (const int row : {2, 4}) {
            EXPECT_TRUE(dark_along(page, x(0), y(row), x(10), y(row))) << name << row;
        }
    }
}

// Told from the report itself, the page is named with how sure the program
// is, and the report prints as in the page named; in the ESC/P mode too,
// told from what the printer prints, not from its sequences.
TEST_F(CodePagePdf, AutoTellsTheCodePageAndPrintsInIt) {
    const std::string line = "Товар принят на склад по количеству и качеству без замечаний";
    for (const bool escp : {false, true}) {
        std::string report;
        for (int i = 0; i < 8; ++i) {
            const std::string text = iconv_bytes(line + "\r\n", "KOI8-R");
            // Line spacing of 36/180 inch and a move right of 200/60 inch:
            // parameters that are no letters of the page.
            report += escp ? std::string("\x1b\x33\x24\x1b$\xc8\x00", 7) + text : text;
        }
        std::vector<std::string> options = {"--code-page", "AUTO"};
        if (escp) {
            options.push_back("--escp");
        }
        const auto plan = print(report, options);
        EXPECT_EQ(plan.at("CodePage"), "koi8-r (auto)") << escp;
        EXPECT_GE(std::stoi(plan.at("CodePageCertainty")), 90) << escp;
        EXPECT_EQ(text_lines(pdf()).at(0), line) << escp;
    }
}

// In the ESC/P mode the printer's own tables act on top of the report's code
// page: ESC R puts national letters on ASCII codes, ESC t 0 the italic table
// on the codes above 127, ESC @ (which returns the head to the left edge)
// brings back the graphics table of the page.
TEST_F(CodePagePdf, EscpCharacterTablesActOnTopOfTheCodePage) {
    const char bytes[] = "\x1bR\x02[\\]{|}~ \x1bR\x00[ \x1bt\x00\xc1\xe2\r\n\x1b@\x84\x94\x81\r\n";
    const std::string report(bytes, sizeof bytes - 1);
    print(report, {"--escp", "--code-page", "cp437"});
    const std::vector<std::string> lines = text_lines(pdf());
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "ÄÖÜäöüß [ Ab");
    EXPECT_EQ(lines[1], "äöü");
}

} // namespace
} // namespace kvalon::testing
