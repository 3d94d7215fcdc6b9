// The printer's offset, given in batch, moves every printed page on its
// sheet in both modes and leaves the plan as it was.
#include "tests/support/pdf_tools.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kvalon::testing {
namespace {

constexpr double kPointsPerMm = 72 / 25.4;

class SheetOffsetBatch : public ::testing::Test {
protected:
    RunResult run(std::vector<std::string> words, const std::string& pdf,
                  std::map<std::string, std::string> env = {}) {
        words.insert(words.begin(), kvalon_binary());
        words.push_back(dir.file("REPORT.TXT"));
        env.insert({{"KVALON_PDF", pdf}, {"HOME", dir.path()}, {"KVALON_OFFSET", ""}});
        return run_program(words, env);
    }

    TempDir dir;
};

TEST_F(SheetOffsetBatch, EveryPageMovesByTheOffsetAndThePlanStays) {
    struct Case {
        const char* what;
        std::string report;
        std::vector<std::string> options;
        std::map<std::string, std::string> env;
        double across_mm, down_mm;
        const char* plan_line;
    };
    const std::string text = "Фактура 0001\r\nСума   12.50\r\n\fФактура 0002\r\n";
    const std::string epson = "\x1b@\x1b"
                              "E Фактура\x1b"
                              "F 0001\r\n\x1bJ\x30Сума\r\n\f2\r\n";
    const Case cases[] = {
        {"text", to_mik(text), {"--offset", "5,-3"}, {}, 5, -3, "5,-3"},
        {"the option wins",
         to_mik(text),
         {"--offset=1.5,2"},
         {{"KVALON_OFFSET", "9,9"}},
         1.5,
         2,
         "1.5,2"},
        {"decimal commas",
         to_mik(text),
         {},
         {{"KVALON_OFFSET", "-2,5;7,25"}},
         -2.5,
         7.25,
         "-2.5,7.25"},
        {"epson", to_mik(epson), {"--escp", "--offset", "-4,6"}, {}, -4, 6, "-4,6"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        write_bytes(dir.file("REPORT.TXT"), c.report);
        std::vector<std::string> plain_options;
        for (const std::string& option : c.options) {
            if (option == "--escp") {
                plain_options.push_back(option);
            }
        }
        ASSERT_EQ(run(plain_options, dir.file("plain.pdf")).status, 0);
        const RunResult printed = run(c.options, dir.file("moved.pdf"), c.env);
        ASSERT_EQ(printed.status, 0) << printed.err;
        EXPECT_EQ(printed.err, "");
        const std::vector<PdfWord> plain = pdf_words(dir.file("plain.pdf"));
        const std::vector<PdfWord> moved = pdf_words(dir.file("moved.pdf"));
        ASSERT_EQ(moved.size(), plain.size());
        ASSERT_GE(plain.back().page, 2);
        for (std::size_t i = 0; i < plain.size(); ++i) {
            EXPECT_EQ(moved[i].text, plain[i].text);
            EXPECT_EQ(moved[i].page, plain[i].page);
            EXPECT_NEAR(moved[i].x_min - plain[i].x_min, c.across_mm * kPointsPerMm, 0.05)
                << plain[i].text;
            EXPECT_NEAR(moved[i].y_min - plain[i].y_min, c.down_mm * kPointsPerMm, 0.05)
                << plain[i].text;
        }

        std::vector<std::string> plan_options = c.options;
        plan_options.insert(plan_options.begin(), "--plan");
        plain_options.insert(plain_options.begin(), "--plan");
        std::map<std::string, std::string> plan =
            parse_plan(run(plan_options, dir.file("plan.pdf"), c.env).out);
        const std::map<std::string, std::string> plain_plan =
            parse_plan(run(plain_options, dir.file("plan.pdf")).out);
        EXPECT_EQ(plain_plan.count("OffsetMm"), 0u);
        EXPECT_EQ(plan["OffsetMm"], c.plan_line);
        plan.erase("OffsetMm");
        EXPECT_EQ(plan, plain_plan);
    }
}

// Print pushed off the sheet is told, in the plan and when printing, and
// still printed: the rest of the form is worth having.
TEST_F(SheetOffsetBatch, AnOffsetThatPushesCellsOffTheSheetIsTold) {
    write_bytes(dir.file("REPORT.TXT"), to_mik("Фактура 0001\r\n"));
    const std::string note = "Отместването на печата -90,0 мм изкарва част от страницата извън "
                             "листа; текст по краищата ѝ няма да излезе";
    const RunResult planned = run({"--plan", "--offset", "-90,0"}, dir.file("plan.pdf"));
    EXPECT_EQ(parse_plan(planned.out)["Note"], note);
    const RunResult printed = run({"--offset", "-90,0"}, dir.file("out.pdf"));
    EXPECT_EQ(printed.status, 0);
    EXPECT_EQ(printed.err, "Kvalon-P: " + note + "\n");
    EXPECT_EQ(pdf_pages(dir.file("out.pdf")), 1);
}

} // namespace
} // namespace kvalon::testing
