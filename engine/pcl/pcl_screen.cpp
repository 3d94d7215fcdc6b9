#include "engine/pcl/pcl_screen.h"

#include "engine/pcl/pcl_printer.h"
#include "engine/screen_lines.h"

#include <algorithm>
#include <map>
#include <utility>
#include <vector>

namespace kvalon {

namespace {

struct Placed {
    std::int64_t x;
    unsigned char code;
};

class ScreenLines final : public PclOutput {
public:
    void glyph(const PclGlyph& glyph) override {
        if (!m_done && glyph.visible()) {
            m_lines[glyph.baseline].push_back(Placed{glyph.x, glyph.code});
        }
    }
    void page_end(bool had_print, const PclState&) override { m_done = m_done || had_print; }

    std::string text() const { return join_screen_lines(m_lines, kPclSixthInch, &line_text); }

private:
    static std::string line_text(std::vector<Placed> placed) {
        std::stable_sort(placed.begin(), placed.end(),
                         [](const Placed& a, const Placed& b) { return a.x < b.x; });
        std::string line;
        for (const Placed& p : placed) {
            const auto column = static_cast<std::size_t>(
                std::max<std::int64_t>((p.x + kPclPicaColumn / 2) / kPclPicaColumn, 0));
            line.resize(std::max(line.size(), column), ' ');
            line.push_back(static_cast<char>(p.code));
        }
        return line;
    }

    std::map<std::int64_t, std::vector<Placed>> m_lines;
    bool m_done = false;
};

class PrintedCharacters final : public PclOutput {
public:
    void glyph(const PclGlyph& glyph) override {
        if (!glyph.by_symbol_set) {
            m_text.push_back(static_cast<char>(glyph.code));
        }
    }
    void line_feed() override { m_text += "\r\n"; }
    void page_end(bool, const PclState&) override {
        if (!m_text.empty() && m_text.back() != '\n') {
            m_text += "\r\n";
        }
    }
    std::string take() { return std::move(m_text); }

private:
    std::string m_text;
};

} // namespace

std::string without_pcl_commands(std::string_view job) {
    PrintedCharacters printed;
    PclPrinter printer(printed, PclState::reset(CodePageId::Mik));
    printer.take(job);
    printer.finish();
    return printed.take();
}

std::string pcl_screen_text(std::string_view page, const PclState& start) {
    ScreenLines lines;
    PclPrinter printer(lines, start);
    printer.take(page);
    printer.finish();
    return lines.text();
}

} // namespace kvalon
