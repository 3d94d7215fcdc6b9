#include "startup/plan_report.h"

#include "engine/printer_language.h"

#include <charconv>
#include <cmath>

namespace kvalon {

namespace {

std::string four_decimals(double value) {
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 4);
    return std::string(buffer, result.ptr);
}

std::string whole(double value) {
    return std::to_string(std::llround(value));
}

void add_line(std::string& text, const char* name, const std::string& value) {
    text += name;
    text += '=';
    text += value;
    text += '\n';
}

class PlanText final : public PlanLines {
public:
    explicit PlanText(std::string& text) : m_text(text) {}
    void add(const char* name, const std::string& value) override { add_line(m_text, name, value); }
    void add_measure(const char* name, double value) override {
        add_line(m_text, name, four_decimals(value));
    }

private:
    std::string& m_text;
};

} // namespace

std::string plan_report(const PrintJob& j) {
    std::string text;
    const auto add = [&text](const char* name, const std::string& value) {
        add_line(text, name, value);
    };
    add("PaperName", j.PaperName);
    add("PaperWidthMm", whole(j.PaperWidthMm));
    add("PaperHeightMm", whole(j.PaperHeightMm));
    add("LineCount", std::to_string(j.LineCount));
    add("LongestLine", std::to_string(j.LongestLine));
    add("FontSize", std::to_string(j.FontSize));
    add("Orientation", j.Orientation);
    add("CharsPerLine", std::to_string(j.CharsPerLine));
    add("LinesPerPage", std::to_string(j.LinesPerPage));
    add("LeftIndent", std::to_string(j.LeftIndent));
    add("CharWidth", four_decimals(static_cast<double>(j.CharWidth)));
    add("LineHeight", four_decimals(static_cast<double>(j.LineHeight)));
    add("PageCount", whole(j.PageCount));
    PlanText lines(text);
    page_model(j).add_plan_lines(j, lines);
    const bool told = j.CodePageAsked && j.CodePageAsked->automatic;
    add("CodePage", std::string(code_page_name(j.CodePage)) + (told ? " (auto)" : ""));
    if (told) {
        add("CodePageCertainty", std::to_string(j.CodePageCertainty));
    }
    if (j.FitPages) {
        add("FitPages", "1");
    }
    return text;
}

std::string job_report(const JobPreview& preview) {
    std::string text;
    if (!preview.settings.empty()) {
        add_line(text, "JobOptions", preview.settings);
    }
    if (!preview.offset.is_zero()) {
        add_line(text, "OffsetMm", sheet_offset_text(preview.offset));
    }
    if (!preview.note.empty()) {
        add_line(text, "Note", preview.note);
    }
    return text;
}

} // namespace kvalon
