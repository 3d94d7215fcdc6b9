#include "printing/pdf/font_program.h"

#include "engine/error.h"
#include "engine/messages.h"

#include <hb-ot.h>
#include <hb-subset.h>
#include <hb.h>

#include "printing/pdf/pdf_syntax.h"

#include <algorithm>
#include <array>
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

std::string table_of(hb_face_t* face, std::uint32_t tag) {
    hb_blob_t* blob = hb_face_reference_table(face, tag);
    unsigned int length = 0;
    const char* data = hb_blob_get_data(blob, &length);
    std::string bytes = data == nullptr ? std::string() : std::string(data, length);
    hb_blob_destroy(blob);
    return bytes;
}

bool has_table(hb_face_t* face, std::uint32_t tag) {
    hb_blob_t* blob = hb_face_reference_table(face, tag);
    const bool present = hb_blob_get_length(blob) > 0;
    hb_blob_destroy(blob);
    return present;
}

std::string blob_bytes(hb_blob_t* blob) {
    unsigned int length = 0;
    const char* data = hb_blob_get_data(blob, &length);
    return data == nullptr ? std::string() : std::string(data, length);
}

std::vector<hb_tag_t> table_tags(hb_face_t* face) {
    std::vector<hb_tag_t> tags(hb_face_get_table_tags(face, 0, nullptr, nullptr));
    auto count = static_cast<unsigned int>(tags.size());
    hb_face_get_table_tags(face, 0, &count, tags.data());
    tags.resize(count);
    return tags;
}

// The face is read where the source keeps the file, not copied.
hb_face_t* face_of(const FontSource& source, const std::string& family, bool bold) {
    const std::string_view file = source.file(family, bold);
    hb_blob_t* blob = hb_blob_create(file.data(), static_cast<unsigned int>(file.size()),
                                     HB_MEMORY_MODE_READONLY, nullptr, nullptr);
    hb_face_t* face = hb_face_create(blob, 0);
    hb_blob_destroy(blob);
    return face;
}

void add_point(std::string& path, float x, float y) {
    append_number(path, x, 2);
    path += ' ';
    append_number(path, y, 2);
    path += ' ';
}

void move_to(hb_draw_funcs_t*, void* path, hb_draw_state_t*, float x, float y, void*) {
    add_point(*static_cast<std::string*>(path), x, y);
    *static_cast<std::string*>(path) += "m\n";
}

void line_to(hb_draw_funcs_t*, void* path, hb_draw_state_t*, float x, float y, void*) {
    add_point(*static_cast<std::string*>(path), x, y);
    *static_cast<std::string*>(path) += "l\n";
}

void cubic_to(hb_draw_funcs_t*, void* data, hb_draw_state_t*, float x1, float y1, float x2,
              float y2, float x, float y, void*) {
    std::string& path = *static_cast<std::string*>(data);
    add_point(path, x1, y1);
    add_point(path, x2, y2);
    add_point(path, x, y);
    path += "c\n";
}

void close_path(hb_draw_funcs_t*, void* path, hb_draw_state_t*, void*) {
    *static_cast<std::string*>(path) += "h\n";
}

// Quadratic pieces reach cubic_to: HarfBuzz converts them when no function of
// their own is set.
hb_draw_funcs_t* path_funcs() {
    static hb_draw_funcs_t* const funcs = [] {
        hb_draw_funcs_t* made = hb_draw_funcs_create();
        hb_draw_funcs_set_move_to_func(made, move_to, nullptr, nullptr);
        hb_draw_funcs_set_line_to_func(made, line_to, nullptr, nullptr);
        hb_draw_funcs_set_cubic_to_func(made, cubic_to, nullptr, nullptr);
        hb_draw_funcs_set_close_path_func(made, close_path, nullptr, nullptr);
        hb_draw_funcs_make_immutable(made);
        return made;
    }();
    return funcs;
}

} // namespace

FontProgram::FontProgram(const FontSource& source, const std::string& family, bool bold)
    : m_family(family), m_face(face_of(source, family, bold)), m_font(hb_font_create(m_face)) {
    if (hb_face_get_glyph_count(m_face) == 0 || !has_table(m_face, sfnt_tag("glyf")) ||
        !has_table(m_face, sfnt_tag("hmtx"))) {
        hb_font_destroy(m_font);
        hb_face_destroy(m_face);
        throw KvalonError(ErrorKind::Printer, family, messages::kDocumentNotStarted);
    }
    read_metrics();
}

FontProgram::~FontProgram() {
    hb_font_destroy(m_font);
    hb_face_destroy(m_face);
}

void FontProgram::read_metrics() {
    const std::string head = table_of(m_face, sfnt_tag("head"));
    const std::string hhea = table_of(m_face, sfnt_tag("hhea"));
    const std::string post = table_of(m_face, sfnt_tag("post"));
    const std::string os2 = table_of(m_face, sfnt_tag("OS/2"));
    m_metrics.units_per_em = hb_face_get_upem(m_face);
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
    hb_codepoint_t glyph = 0;
    // A damaged character map may name glyphs the face does not have.
    if (!hb_font_get_nominal_glyph(m_font, code, &glyph) || glyph >= glyph_count() ||
        glyph > 0xFFFF) {
        return 0;
    }
    return static_cast<std::uint16_t>(glyph);
}

int FontProgram::advance(std::uint16_t glyph) const {
    return hb_font_get_glyph_h_advance(m_font, glyph);
}

unsigned FontProgram::glyph_count() const {
    return hb_face_get_glyph_count(m_face);
}

std::string FontProgram::outline(std::uint16_t glyph) const {
    std::string path;
    hb_font_get_glyph_shape(m_font, glyph, path_funcs(), &path);
    if (!path.empty()) {
        path += "f\n";
    }
    return path;
}

// Names in PDF are written without delimiters or blanks; the family stands
// in for a face without a usable name.
std::string FontProgram::postscript_name() const {
    char text[128] = {};
    unsigned int size = sizeof text;
    hb_ot_name_get_utf8(m_face, HB_OT_NAME_ID_POSTSCRIPT_NAME, HB_LANGUAGE_INVALID, &size, text);
    std::string name;
    for (const char c : std::string(size > 0 ? text : m_family.c_str())) {
        if (c > ' ' && c < 127 && std::string_view("()<>[]{}/%#").find(c) == std::string::npos) {
            name += c;
        }
    }
    return name.empty() ? std::string("Font") : name;
}

std::string FontProgram::subset(const std::vector<std::uint16_t>& glyphs,
                                const std::vector<char32_t>& codes) const {
    hb_subset_input_t* input = hb_subset_input_create_or_fail();
    if (input == nullptr) {
        throw std::bad_alloc();
    }
    hb_set_t* glyph_set = hb_subset_input_glyph_set(input);
    for (const std::uint16_t glyph : glyphs) {
        hb_set_add(glyph_set, glyph);
    }
    hb_set_t* code_set = hb_subset_input_unicode_set(input);
    for (const char32_t code : codes) {
        hb_set_add(code_set, code);
    }
    // Only the tables a page needs; the name is in the PDF already.
    hb_set_t* dropped = hb_subset_input_set(input, HB_SUBSET_SETS_DROP_TABLE_TAG);
    for (const hb_tag_t tag : table_tags(m_face)) {
        if (std::find(kTables.begin(), kTables.end(), tag) == kTables.end()) {
            hb_set_add(dropped, tag);
        }
    }
    hb_set_add(dropped, sfnt_tag("name"));
    // Glyph indexes stay as they are, so pages written before the subset was
    // known show the right glyphs.
    hb_subset_input_set_flags(input, HB_SUBSET_FLAGS_RETAIN_GIDS);
    hb_face_t* cut = hb_subset_or_fail(m_face, input);
    hb_subset_input_destroy(input);
    if (cut == nullptr) {
        throw KvalonError(ErrorKind::Printer, m_family, messages::kDocumentNotEnded);
    }
    hb_blob_t* file = hb_face_reference_blob(cut);
    std::string bytes = blob_bytes(file);
    hb_blob_destroy(file);
    hb_face_destroy(cut);
    return bytes;
}

} // namespace kvalon
