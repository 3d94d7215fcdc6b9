#include "engine/escp/escp_screen.h"

#include "engine/escp/escp_printer.h"
#include "engine/print_job.h"
#include "engine/screen_lines.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>
#include <vector>

namespace kvalon {

namespace {

struct Placed {
    std::int64_t x;
    std::int64_t column_width;
    unsigned char code;
};

class ScreenLines final : public EscpOutput {
public:
    void glyph(const EscpGlyph& glyph) override {
        if (!m_done && glyph.code != ' ') {
            const std::int64_t single = glyph.double_width ? glyph.width / 2 : glyph.width;
            m_lines[glyph.y].push_back(
                Placed{glyph.x, std::max<std::int64_t>(single, 1), glyph.code});
        }
    }
    // A picture shows as a row of # as wide as it is, 10-pitch columns.
    void dots(const EscpDots& dots) override {
        if (m_done) {
            return;
        }
        const std::int64_t right = dots.x + dots.image.columns() * dots.column_pitch;
        std::vector<Placed>& line = m_lines[dots.y];
        for (std::int64_t x = dots.x; x < right; x += kEscpPicaColumn) {
            line.push_back(Placed{x, kEscpPicaColumn, '#'});
        }
    }
    void page_end(bool had_print) override { m_done = m_done || had_print; }

    std::string text() const { return join_screen_lines(m_lines, kEscpSixthInch, &line_text); }

private:
    // Each character in the column its own pitch puts it in, never over the
    // one before: an overstruck character shows once.
    static std::string line_text(std::vector<Placed> placed) {
        std::stable_sort(placed.begin(), placed.end(),
                         [](const Placed& a, const Placed& b) { return a.x < b.x; });
        std::string line;
        std::int64_t last_x = -1;
        for (const Placed& p : placed) {
            if (p.x == last_x) {
                continue;
            }
            last_x = p.x;
            const auto column =
                static_cast<std::size_t>((p.x + p.column_width / 2) / p.column_width);
            line.resize(std::max(line.size(), column), ' ');
            line.push_back(static_cast<char>(p.code));
        }
        return line;
    }

    std::map<std::int64_t, std::vector<Placed>> m_lines;
    bool m_done = false;
};

class PrintedCharacters final : public EscpOutput {
public:
    void glyph(const EscpGlyph& glyph) override { m_text.push_back(static_cast<char>(glyph.code)); }
    void line_feed() override { m_text += "\r\n"; }
    // A page that ends without a line feed (FF) ends its line too.
    void page_end(bool) override {
        if (!m_text.empty() && m_text.back() != '\n') {
            m_text += "\r\n";
        }
    }
    std::string take() { return std::move(m_text); }

private:
    std::string m_text;
};

} // namespace

std::string without_escp_sequences(std::string_view report) {
    PrintedCharacters printed;
    EscpPrinter printer(printed);
    printer.take(report);
    printer.finish();
    return printed.take();
}

std::string escp_screen_text(std::string_view page, const EscpState& start) {
    ScreenLines lines;
    EscpPrinter printer(lines, start);
    printer.take(page);
    printer.finish();
    return lines.text();
}

} // namespace kvalon
