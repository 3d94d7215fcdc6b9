#pragma once

#include <map>
#include <string>
#include <vector>

namespace kvalon::testing {

// What poppler's tools read from a PDF the program wrote.
struct PdfWord {
    double x_min, y_min, x_max, y_max; // points, from the top-left of the page
    std::string text;                  // UTF-8
    int page;                          // from 1
};

// What `qpdf --check` finds wrong with a PDF; empty when it is sound. Every
// function below checks the PDF it reads this way and fails the test when
// anything is found, so every document a test looks at is sound.
std::string qpdf_problems(const std::string& pdf);

std::map<std::string, std::string> pdf_info(const std::string& pdf);
int pdf_pages(const std::string& pdf);
std::vector<PdfWord> pdf_words(const std::string& pdf);
// The lines of a PDF's text, page by page, as its words stand on them.
std::vector<std::string> pdf_lines(const std::string& pdf);

// A page rendered in grey (0 black .. 255 white).
struct GreyImage {
    int width = 0;
    int height = 0;
    double dpi = 0;
    std::vector<unsigned char> pixels;
    int at(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
    // Millimetres from the top-left corner to the nearest pixel.
    int px(double mm) const;
    // The darkest pixel within `radius` pixels around (x, y) in millimetres.
    int darkest_near(double x_mm, double y_mm, int radius = 1) const;
    // Mean grey over a rectangle in millimetres.
    double mean(double x_mm, double y_mm, double w_mm, double h_mm) const;
};

GreyImage render_page(const std::string& pdf, int page, int dpi);

// Dark all the way along a horizontal or vertical run (millimetres).
bool dark_along(const GreyImage& page, double x1, double y1, double x2, double y2);

// The --plan lines of the program as a map.
std::map<std::string, std::string> parse_plan(const std::string& text);

} // namespace kvalon::testing
