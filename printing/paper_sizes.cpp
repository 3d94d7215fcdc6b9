#include "printing/paper_sizes.h"

#include "engine/paper_codes.h"
#include "engine/units.h"
#include "printing/standard_papers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <sstream>

namespace kvalon {

namespace {

using Unit = StandardPaper::Unit;

// The tolerance within which a size is taken for a standard sheet.
constexpr int kTolerancePoints = 3;
constexpr double kFolioWidthMm = 215.9;
constexpr double kFolioHeightMm = 330.2;

double points_per(Unit unit) {
    return unit == Unit::Millimetre ? PointsPerMm : PointsPerInch;
}

// Halves up: sizes are never negative.
int whole(double value) {
    return static_cast<int>(value + 0.5);
}

double two_decimals(double value) {
    return whole(value * 100) / 100.0;
}

double converted(double value, Unit from, Unit to) {
    if (from == to || value == 0) {
        return value;
    }
    return two_decimals(value * points_per(from) / points_per(to));
}

PaperSize standard_sheet(const StandardPaper& paper) {
    PaperSize size;
    size.key = paper.key;
    size.windows_code = paper.windows_code;
    size.standard = true;
    size.width_mm = paper.millimetres.width;
    size.height_mm = paper.millimetres.height;
    size.width_inches = paper.inches.width;
    size.height_inches = paper.inches.height;
    size.width_points = paper.points.width;
    size.height_points = paper.points.height;
    return size;
}

std::string number_text(double value) {
    std::ostringstream text;
    text.imbue(std::locale::classic());
    text << value;
    return text.str();
}

PaperSize sheet_of_its_own(double width, double height, Unit unit) {
    PaperSize size;
    size.key = "Custom." + number_text(width) + "x" + number_text(height) +
               (unit == Unit::Millimetre ? "mm" : "in");
    size.width_mm = converted(width, unit, Unit::Millimetre);
    size.height_mm = converted(height, unit, Unit::Millimetre);
    size.width_inches = converted(width, unit, Unit::Inch);
    size.height_inches = converted(height, unit, Unit::Inch);
    size.width_points = whole(width * points_per(unit));
    size.height_points = whole(height * points_per(unit));
    return size;
}

// A size of its own given in whole points, as a printer's own paper list
// gives it.
PaperSize sheet_of_points(int width, int height) {
    PaperSize size;
    size.key = "Custom." + std::to_string(width) + "x" + std::to_string(height);
    size.width_mm = two_decimals(width / PointsPerMm);
    size.height_mm = two_decimals(height / PointsPerMm);
    size.width_inches = two_decimals(width / PointsPerInch);
    size.height_inches = two_decimals(height / PointsPerInch);
    size.width_points = width;
    size.height_points = height;
    return size;
}

const StandardPaper* standard_of_points(int width, int height, bool fuzzy) {
    const auto papers = standard_papers();
    for (const StandardPaper& paper : papers) {
        if (paper.points.width == width && paper.points.height == height) {
            return &paper;
        }
    }
    if (!fuzzy) {
        return nullptr;
    }
    for (const StandardPaper& paper : papers) {
        if (std::abs(paper.points.width - width) <= kTolerancePoints &&
            std::abs(paper.points.height - height) <= kTolerancePoints) {
            return &paper;
        }
    }
    return nullptr;
}

// A size exactly as a standard sheet is defined is that sheet; otherwise the
// size in whole points decides.
PaperSize paper_of_size(double width, double height, Unit unit, bool fuzzy) {
    if (width <= 0 || height <= 0) {
        return {};
    }
    for (const StandardPaper& paper : standard_papers()) {
        const StandardPaper::Size& defined =
            unit == Unit::Millimetre ? paper.millimetres : paper.inches;
        if (*paper.key != '\0' && defined.width == width && defined.height == height) {
            return standard_sheet(paper);
        }
    }
    const double per_unit = points_per(unit);
    if (const StandardPaper* paper =
            standard_of_points(whole(width * per_unit), whole(height * per_unit), fuzzy)) {
        return standard_sheet(*paper);
    }
    return sheet_of_its_own(width, height, unit);
}

std::optional<double> decimal_number(std::string_view text) {
    const std::size_t point = text.find('.');
    const auto digits = [](std::string_view part) {
        return !part.empty() &&
               std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (!digits(text.substr(0, point)) ||
        (point != std::string_view::npos && !digits(text.substr(point + 1)))) {
        return std::nullopt;
    }
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

// "WIDTHxHEIGHTmm" or "...in" after an underscore, at the end of the name.
PaperSize self_described_paper(const std::string& name) {
    for (std::size_t underscore = name.find('_'); underscore != std::string::npos;
         underscore = name.find('_', underscore + 1)) {
        const std::string_view rest = std::string_view(name).substr(underscore + 1);
        if (rest.size() < 2) {
            break;
        }
        const std::string_view unit = rest.substr(rest.size() - 2);
        if (unit != "mm" && unit != "in") {
            break;
        }
        const std::string_view size = rest.substr(0, rest.size() - 2);
        const std::size_t times = size.find('x');
        if (times == std::string_view::npos) {
            continue;
        }
        const auto width = decimal_number(size.substr(0, times));
        const auto height = decimal_number(size.substr(times + 1));
        if (width && height) {
            return paper_of_size(*width, *height, unit == "mm" ? Unit::Millimetre : Unit::Inch,
                                 true);
        }
    }
    return {};
}

bool same_letters(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

PaperSize paper_named(std::string_view keyword) {
    for (const StandardPaper& paper : standard_papers()) {
        if (*paper.key != '\0' && same_letters(paper.key, keyword)) {
            return standard_sheet(paper);
        }
    }
    return {};
}

std::string_view trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool nearly_equal(double a, double b) {
    return std::abs(a - b) * 1e12 <= std::min(std::abs(a), std::abs(b));
}

} // namespace

PaperSize paper_for_code(int windows_code) {
    if (windows_code == PaperFolio) {
        return paper_of_size(kFolioWidthMm, kFolioHeightMm, Unit::Millimetre, false);
    }
    if (const StandardPaper* paper = standard_paper_for_code(windows_code)) {
        return standard_sheet(*paper);
    }
    return {};
}

int code_for_paper(const PaperSize& paper) {
    if (!paper.is_valid()) {
        return PaperUserDefined;
    }
    if (!paper.standard && whole(paper.width_inches) == 9 && whole(paper.height_inches) == 13 &&
        nearly_equal(paper.height_inches, 13)) {
        return PaperFolio;
    }
    return paper.windows_code > 0 ? paper.windows_code : PaperUserDefined;
}

PaperSize paper_for_media(const std::string& media) {
    std::size_t start = 0;
    while (start <= media.size()) {
        std::size_t comma = media.find(',', start);
        if (comma == std::string::npos) {
            comma = media.size();
        }
        const std::string name(trimmed(std::string_view(media).substr(start, comma - start)));
        PaperSize paper = self_described_paper(name);
        if (!paper.is_valid()) {
            paper = paper_named(name);
        }
        if (paper.is_valid()) {
            return paper;
        }
        start = comma + 1;
    }
    return {};
}

PaperSize paper_of_points(int width, int height) {
    if (width <= 0 || height <= 0) {
        return {};
    }
    if (const StandardPaper* paper = standard_of_points(width, height, true)) {
        return standard_sheet(*paper);
    }
    return sheet_of_points(width, height);
}

PaperSize paper_of_printer(const std::string& keyword, int width_points, int height_points) {
    std::string_view key(keyword);
    for (const std::string_view turned : {"Rotated", ".Transverse"}) {
        if (key.ends_with(turned)) {
            key.remove_suffix(turned.size());
            break;
        }
    }
    for (const StandardPaper& paper : standard_papers()) {
        if (*paper.key != '\0' && key == paper.key) {
            return standard_sheet(paper);
        }
    }
    return paper_of_points(width_points, height_points);
}

} // namespace kvalon
