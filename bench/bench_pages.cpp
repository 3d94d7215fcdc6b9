#include "bench/bench_pages.h"

#include "engine/code_page.h"
#include "engine/paper_codes.h"
#include "engine/units.h"
#include "printing/box_geometry.h"

#include <algorithm>
#include <tuple>

namespace kvalon::bench {

namespace {

constexpr int kDpi = DrawingDpi;
constexpr int kPixels = 75; // 9 points at 600 dpi
constexpr double kCellWidth = 1229.0 / 2048 * kPixels / kDpi * 25.4;
constexpr double kLineHeight = 3.5963;
constexpr double kAscent = 1705.0 / 2048 * kPixels / kDpi * 25.4;
constexpr double kStrokeWidth = 4.0 / kDpi * 25.4;
constexpr double kLeft = 20.0;
constexpr double kTop = 2 * kLineHeight; // two empty lines start every page
constexpr char kBoldMarker = 2;

bool touching(double a_end, double b_start) {
    return b_start <= a_end + 1e-4;
}

} // namespace

BenchPages::BenchPages() {
    m_page.width_mm = 297;
    m_page.height_mm = 210;
    m_page.width_points = A4HeightPoints;
    m_page.height_points = A4WidthPoints;
    m_page.landscape = true;
    m_page.dpi = kDpi;
    PageFace face{"CourierCyr", kPixels * 72.0 / kDpi, false, false, 1};
    m_page.faces = {face, face};
    m_page.faces[1].bold = true;
}

void BenchPages::add_line(const std::string& line, std::size_t row) {
    const double top = kTop + static_cast<double>(row) * kLineHeight;
    TextRun runs[2] = {{0, top + kAscent, {}}, {1, top + kAscent, {}}};
    bool bold = false;
    double x = kLeft;
    const auto w = static_cast<float>(kCellWidth);
    const auto h = static_cast<float>(kLineHeight);
    for (const char byte : line) {
        const auto code = static_cast<unsigned char>(byte);
        if (byte == kBoldMarker) {
            bold = !bold;
            continue;
        }
        const char32_t character = character_of(CodePageId::Mik, code);
        if (const auto box = box_strokes(character, w, h)) {
            for (int i = 0; i < box->count; ++i) {
                const Segment& s = box->segments[static_cast<std::size_t>(i)];
                m_strokes.push_back({x + s.x1, top + s.y1, x + s.x2, top + s.y2, kStrokeWidth});
            }
        } else if (const auto fill = cell_fill(character, w, h)) {
            m_page.fills.push_back(
                {x + fill->x, top + fill->y, fill->width, fill->height, fill->grey});
        } else if (code != ' ' && code >= 32) {
            runs[bold ? 1 : 0].glyphs.push_back({character, x});
        }
        x += kCellWidth;
    }
    for (TextRun& run : runs) {
        if (!run.glyphs.empty()) {
            m_page.runs.push_back(std::move(run));
        }
    }
}

// Touching strokes on one line become one, as the printer surface joins them.
void BenchPages::merge_strokes() {
    auto horizontal = [](const Stroke& s) { return s.y1 == s.y2; };
    std::sort(m_strokes.begin(), m_strokes.end(), [&](const Stroke& a, const Stroke& b) {
        const bool ha = horizontal(a), hb = horizontal(b);
        if (ha != hb) {
            return ha;
        }
        return ha ? std::tie(a.y1, a.x1) < std::tie(b.y1, b.x1)
                  : std::tie(a.x1, a.y1) < std::tie(b.x1, b.y1);
    });
    for (const Stroke& s : m_strokes) {
        Stroke* last = m_page.strokes.empty() ? nullptr : &m_page.strokes.back();
        if (last != nullptr && horizontal(*last) && horizontal(s) && last->y1 == s.y1 &&
            touching(last->x2, s.x1)) {
            last->x2 = std::max(last->x2, s.x2);
        } else if (last != nullptr && !horizontal(*last) && !horizontal(s) && last->x1 == s.x1 &&
                   touching(last->y2, s.y1)) {
            last->y2 = std::max(last->y2, s.y2);
        } else {
            m_page.strokes.push_back(s);
        }
    }
}

const PageDescription& BenchPages::page(const std::vector<std::string>& lines) {
    m_page.runs.clear();
    m_page.strokes.clear();
    m_page.fills.clear();
    m_strokes.clear();
    for (std::size_t row = 0; row < lines.size(); ++row) {
        add_line(lines[row], row);
    }
    merge_strokes();
    return m_page;
}

} // namespace kvalon::bench
