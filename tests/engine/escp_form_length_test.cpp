// The form the printer was set to: what the user writes, and the pages a
// report without ESC C breaks into on it.
#include "engine/escp/escp_form_length.h"
#include "engine/plan_layout.h"
#include "engine/print_job.h"
#include "engine/printer_language.h"
#include "tests/support/recording_surface.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <string>

namespace kvalon {
namespace {

TEST(EscpFormLength, WrittenAsInchesMillimetresPaperOrLines) {
    const struct {
        const char* text;
        std::optional<std::int64_t> units;
    } cases[] = {
        {"11in", 39600}, {"12in", 43200}, {"a4", 42094}, {"297mm", 42094}, {"72", 43200},
        {"70", 42000},   {"1", 600},      {"0", {}},     {"22in", 79200},  {"23in", {}},
        {"", {}},        {"in", {}},      {"12 in", {}}, {"7.5", {}},      {"-3in", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parse_form_length(c.text), c.units) << c.text;
    }
}

TEST(EscpFormLength, AReportWithoutItsOwnFormBreaksWhereThePrinterDoes) {
    testing::TempDir dir;
    testing::RecordingSurface surface;
    std::string report = "\x1b"
                         "2";
    for (int row = 0; row < 140; ++row) {
        report += "row " + std::to_string(row) + "\r\n";
    }
    const std::string path = dir.file("r70.prn");
    testing::write_bytes(path, report);
    set_printer(&surface);
    for (const auto& [form, pages] : {std::pair{std::int64_t{42000}, 2}, {39600, 3}}) {
        reset_job();
        PrintJob& j = job();
        j.FontFace = "CourierCyr";
        j.ParamList = {path, "0", "8", ""};
        j.SourcePath = path;
        j.PrinterFormLength = form;
        choose_language(j, LanguageChoice::Auto);
        plan_layout();
        EXPECT_EQ(j.PageCount, pages) << form;
        EXPECT_EQ(j.LinesPerPage, form / 600) << form;
    }
    set_printer(nullptr);
    reset_job();
}

} // namespace
} // namespace kvalon
