#include "printing/pdf/font_program.h"

#include "engine/error.h"
#include "engine/messages.h"

#include "printing/pdf/pdf_syntax.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

namespace kvalon {

namespace {

// What an embedded TrueType face needs to be drawn, and the character map for
// readers that look into it.
constexpr std::array kTables = {
    sfnt_tag("head"), sfnt_tag("hhea"), sfnt_tag("hmtx"), sfnt_tag("maxp"), sfnt_tag("loca"),
    sfnt_tag("glyf"), sfnt_tag("cvt "), sfnt_tag("fpgm"), sfnt_tag("prep"), sfnt_tag("gasp"),
    sfnt_tag("post"), sfnt_tag("OS/2"), sfnt_tag("cmap"),
};

std::uint32_t read_unsigned(const std::string& table, std::size_t at, std::size_t bytes) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < bytes; ++i) {
        const std::size_t index = at + i;
        value = value << 8 | (index < table.size() ? static_cast<unsigned char>(table[index]) : 0u);
    }
    return value;
}

int read_short(const std::string& table, std::size_t at) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(read_unsigned(table, at, 2)));
}

void add_point(std::string& path, float x, float y) {
    append_number(path, x, 2);
    path += ' ';
    append_number(path, y, 2);
    path += ' ';
}

constexpr unsigned kPostScriptName = 6;

} // namespace

// The face is read where the source keeps the file, not copied.
FontProgram::FontProgram(const FontSource& source, const std::string& family, bool bold)
    : m_family(family), m_face(read_face(source.file(family, bold))) {
    if (m_face->glyph_count() == 0 || m_face->table(sfnt_tag("glyf")).empty() ||
        m_face->table(sfnt_tag("hmtx")).empty()) {
        throw KvalonError(ErrorKind::Printer, family, messages::kDocumentNotStarted);
    }
    read_metrics();
}

FontProgram::~FontProgram() = default;

void FontProgram::read_metrics() {
    const std::string head = m_face->table(sfnt_tag("head"));
    const std::string hhea = m_face->table(sfnt_tag("hhea"));
    const std::string post = m_face->table(sfnt_tag("post"));
    const std::string os2 = m_face->table(sfnt_tag("OS/2"));
    m_metrics.units_per_em = m_face->units_per_em();
    m_metrics.x_min = read_short(head, 36);
    m_metrics.y_min = read_short(head, 38);
    m_metrics.x_max = read_short(head, 40);
    m_metrics.y_max = read_short(head, 42);
    m_metrics.ascent = read_short(hhea, 4);
    m_metrics.descent = read_short(hhea, 6);
    const auto angle = static_cast<std::int32_t>(read_unsigned(post, 4, 4));
    m_metrics.italic_angle = angle / 65536.0;
    m_metrics.underline_thickness = read_short(post, 10);
    m_metrics.fixed_pitch = read_unsigned(post, 12, 4) != 0;
    // The capital height came with version 2 of the table; the ascent stands in.
    const bool has_cap_height = read_unsigned(os2, 0, 2) >= 2 && os2.size() >= 90;
    m_metrics.cap_height = has_cap_height ? read_short(os2, 88) : m_metrics.ascent;
}

std::uint16_t FontProgram::glyph_for(char32_t code) const {
    std::uint32_t glyph = 0;
    // A damaged character map may name glyphs the face does not have.
    if (!m_face->nominal_glyph(code, glyph) || glyph >= glyph_count() || glyph > 0xFFFF) {
        return 0;
    }
    return static_cast<std::uint16_t>(glyph);
}

int FontProgram::advance(std::uint16_t glyph) const {
    return m_face->advance(glyph);
}

unsigned FontProgram::glyph_count() const {
    return m_face->glyph_count();
}

std::string FontProgram::outline(std::uint16_t glyph) const {
    std::string path;
    for (const OutlineStep& step : m_face->outline(glyph)) {
        switch (step.kind) {
        case OutlineStep::Kind::Move:
            add_point(path, step.points[0], step.points[1]);
            path += "m\n";
            break;
        case OutlineStep::Kind::Line:
            add_point(path, step.points[0], step.points[1]);
            path += "l\n";
            break;
        case OutlineStep::Kind::Cubic:
            for (int i = 0; i < 6; i += 2) {
                add_point(path, step.points[i], step.points[i + 1]);
            }
            path += "c\n";
            break;
        case OutlineStep::Kind::Close:
            path += "h\n";
            break;
        }
    }
    if (!path.empty()) {
        path += "f\n";
    }
    return path;
}

// Names in PDF are written without delimiters or blanks; the family stands
// in for a face without a usable name.
std::string FontProgram::postscript_name() const {
    const std::string face_name = m_face->name(kPostScriptName);
    std::string name;
    for (const char c : face_name.empty() ? m_family : face_name) {
        if (c > ' ' && c < 127 && std::string_view("()<>[]{}/%#").find(c) == std::string::npos) {
            name += c;
        }
    }
    return name.empty() ? std::string("Font") : name;
}

// Only the tables a page needs; the name is in the PDF already.
std::string FontProgram::subset(const std::vector<std::uint16_t>& glyphs,
                                const std::vector<char32_t>& codes) const {
    std::optional<std::string> file =
        m_face->subset(glyphs, codes, std::vector<std::uint32_t>(kTables.begin(), kTables.end()));
    if (!file) {
        throw KvalonError(ErrorKind::Printer, m_family, messages::kDocumentNotEnded);
    }
    return std::move(*file);
}

} // namespace kvalon
