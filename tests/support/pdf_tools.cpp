#include "tests/support/pdf_tools.h"

#include "tests/support/child_process.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <tuple>

namespace kvalon::testing {

namespace {

std::string unescape_xml(std::string text) {
    const std::pair<const char*, const char*> entities[] = {
        {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}};
    for (const auto& [from, to] : entities) {
        for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + 1)) {
            text.replace(at, std::string(from).size(), to);
        }
    }
    return text;
}

void expect_sound(const std::string& pdf) {
    if (const std::string problems = qpdf_problems(pdf); !problems.empty()) {
        ADD_FAILURE() << pdf << " fails qpdf --check:\n" << problems;
    }
}

} // namespace

std::string qpdf_problems(const std::string& pdf) {
    const RunResult check = run_program({"qpdf", "--check", pdf});
    const bool sound = check.status == 0 && check.err.empty() &&
                       check.out.find("No syntax or stream encoding errors") != std::string::npos;
    return sound ? std::string() : check.out + check.err;
}

std::map<std::string, std::string> pdf_info(const std::string& pdf) {
    expect_sound(pdf);
    const RunResult result = run_program({"pdfinfo", pdf});
    std::map<std::string, std::string> info;
    std::istringstream lines(result.out);
    std::string line;
    while (std::getline(lines, line)) {
        const auto colon = line.find(':');
        if (colon == std::string::npos) {
            continue;
        }
        auto value = line.substr(colon + 1);
        value.erase(0, value.find_first_not_of(' '));
        info[line.substr(0, colon)] = value;
    }
    return info;
}

int pdf_pages(const std::string& pdf) {
    const auto info = pdf_info(pdf);
    const auto pages = info.find("Pages");
    return pages == info.end() ? -1 : std::stoi(pages->second);
}

std::vector<PdfWord> pdf_words(const std::string& pdf) {
    expect_sound(pdf);
    const RunResult result = run_program({"pdftotext", "-bbox", pdf, "-"});
    std::vector<PdfWord> words;
    const std::regex word(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    int page = 0;
    std::istringstream lines(result.out);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.find("<page ") != std::string::npos) {
            ++page;
        }
        std::smatch match;
        if (std::regex_search(line, match, word)) {
            words.push_back({std::stod(match[1]), std::stod(match[2]), std::stod(match[3]),
                             std::stod(match[4]), unescape_xml(match[5]), page});
        }
    }
    return words;
}

int GreyImage::px(double mm) const {
    return static_cast<int>(std::lround(mm * dpi / 25.4));
}

int GreyImage::darkest_near(double x_mm, double y_mm, int radius) const {
    int darkest = 255;
    for (int y = px(y_mm) - radius; y <= px(y_mm) + radius; ++y) {
        for (int x = px(x_mm) - radius; x <= px(x_mm) + radius; ++x) {
            if (x >= 0 && y >= 0 && x < width && y < height) {
                darkest = std::min(darkest, at(x, y));
            }
        }
    }
    return darkest;
}

double GreyImage::mean(double x_mm, double y_mm, double w_mm, double h_mm) const {
    double sum = 0;
    int count = 0;
    for (int y = px(y_mm); y < px(y_mm + h_mm); ++y) {
        for (int x = px(x_mm); x < px(x_mm + w_mm); ++x) {
            sum += at(x, y);
            ++count;
        }
    }
    return count > 0 ? sum / count : 255;
}

GreyImage render_page(const std::string& pdf, int page, int dpi) {
    expect_sound(pdf);
    const std::string number = std::to_string(page);
    const RunResult result = run_program(
        {"pdftoppm", "-gray", "-r", std::to_string(dpi), "-f", number, "-l", number, pdf});
    // Binary PGM: "P5\n<w> <h>\n255\n" then the pixels.
    std::istringstream in(result.out);
    std::string magic;
    GreyImage image;
    int maximum = 0;
    in >> magic >> image.width >> image.height >> maximum;
    if (magic != "P5" || maximum != 255) {
        throw std::runtime_error("pdftoppm gave no page: " + result.err);
    }
    in.get();
    image.dpi = dpi;
    image.pixels.resize(static_cast<std::size_t>(image.width) *
                        static_cast<std::size_t>(image.height));
    in.read(reinterpret_cast<char*>(image.pixels.data()),
            static_cast<std::streamsize>(image.pixels.size()));
    return image;
}

std::map<std::string, std::string> parse_plan(const std::string& text) {
    std::map<std::string, std::string> plan;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        const auto equals = line.find('=');
        if (equals != std::string::npos) {
            plan[line.substr(0, equals)] = line.substr(equals + 1);
        }
    }
    return plan;
}

bool dark_along(const GreyImage& page, double x1, double y1, double x2, double y2) {
    const int steps = 200;
    for (int i = 0; i <= steps; ++i) {
        const double x = x1 + (x2 - x1) * i / steps;
        const double y = y1 + (y2 - y1) * i / steps;
        if (page.darkest_near(x, y, 1) > 96) {
            return false;
        }
    }
    return true;
}

std::vector<std::string> pdf_lines(const std::string& pdf) {
    std::vector<PdfWord> words = pdf_words(pdf);
    std::sort(words.begin(), words.end(), [](const PdfWord& a, const PdfWord& b) {
        return std::tie(a.page, a.y_min, a.x_min) < std::tie(b.page, b.y_min, b.x_min);
    });
    std::vector<std::string> lines;
    const PdfWord* previous = nullptr;
    for (const PdfWord& word : words) {
        if (previous == nullptr || word.page != previous->page || word.y_min > previous->y_max) {
            lines.emplace_back();
        } else {
            lines.back() += ' ';
        }
        lines.back() += word.text;
        previous = &word;
    }
    return lines;
}

} // namespace kvalon::testing
