#include "printing/pdf/pdf_font.h"

#include "printing/pdf/deflater.h"
#include "printing/pdf/fnv_hash.h"
#include "printing/pdf/pdf_object_writer.h"
#include "printing/pdf/pdf_syntax.h"
#include "printing/pdf/to_unicode_cmap.h"

#include <cmath>
#include <map>

namespace kvalon {

namespace {

constexpr char32_t kTableLimit = 0x2600;
// Descriptor flags: every glyph as wide as the others; Latin-style text; slanted.
constexpr int kFixedPitch = 1;
constexpr int kNonsymbolic = 32;
constexpr int kItalic = 64;
// Readers need a stem width; faces do not state one, so the usual guess.
constexpr int kStemV = 80;
constexpr int kSubsetTagLetters = 6;

} // namespace

PdfFont::PdfFont(const FontSource& source, const std::string& family, bool bold)
    : m_program(source, family, bold), m_table(kTableLimit), m_known(kTableLimit),
      m_code_of_glyph(m_program.glyph_count(), 0), m_forms(m_program.glyph_count(), 0) {}

// Readers take default widths as whole numbers, so all widths are written
// whole; positions are worked out from those same numbers, and the character
// spacing makes up the fraction.
double PdfFont::width_of(std::uint16_t glyph) const {
    return std::round(m_program.advance(glyph) * kGlyphSpaceUnits /
                      m_program.metrics().units_per_em);
}

PdfFont::Glyph PdfFont::look_up(char32_t code) const {
    const std::uint16_t id = m_program.glyph_for(code);
    return {id, width_of(id)};
}

const PdfFont::Glyph& PdfFont::glyph(char32_t code) {
    const Glyph* found = nullptr;
    if (code < kTableLimit) {
        if (!m_known[code]) {
            m_table[code] = look_up(code);
            m_known[code] = true;
        }
        found = &m_table[code];
    } else {
        auto at = m_others.find(code);
        if (at == m_others.end()) {
            at = m_others.emplace(code, look_up(code)).first;
        }
        found = &at->second;
    }
    if (found->id != 0 && m_code_of_glyph[found->id] == 0) {
        m_code_of_glyph[found->id] = code;
    }
    return *found;
}

int PdfFont::outline_form(std::uint16_t glyph, PdfObjectWriter& out, Deflater& deflater) {
    int& form = m_forms.at(glyph);
    if (form == 0) {
        const std::string path = m_program.outline(glyph);
        if (path.empty()) {
            form = -1;
        } else {
            const FontProgram::Metrics& m = m_program.metrics();
            std::string dictionary = "/Type/XObject/Subtype/Form/BBox[";
            for (const int edge : {m.x_min, m.y_min, m.x_max, m.y_max}) {
                append_number(dictionary, edge, 0);
                dictionary += ' ';
            }
            dictionary.back() = ']';
            dictionary += "/Resources<<>>/Filter/FlateDecode";
            form = out.reserve();
            out.write_stream(form, dictionary, deflater.deflate(path));
        }
    }
    return form > 0 ? form : 0;
}

double PdfFont::underline_thickness() const {
    return m_program.metrics().underline_thickness * kGlyphSpaceUnits /
           m_program.metrics().units_per_em;
}

// Six capital letters before the name mark a subset; the same glyphs give the
// same letters, so two runs over one report give the same file.
std::string PdfFont::subset_name(const std::vector<std::uint16_t>& glyphs) const {
    std::uint64_t hash = kFnvOffsetBasis;
    for (const std::uint16_t glyph : glyphs) {
        hash = fnv_step(hash, glyph);
    }
    std::string name;
    for (int i = 0; i < kSubsetTagLetters; ++i) {
        name += static_cast<char>('A' + hash % 26);
        hash /= 26;
    }
    return name + '+' + m_program.postscript_name();
}

// Widths other than the common one, as runs of neighbouring glyphs.
std::string PdfFont::widths(const std::vector<std::uint16_t>& glyphs, double common) const {
    std::string list = "[";
    int previous = -2;
    for (const std::uint16_t glyph : glyphs) {
        const double width = width_of(glyph);
        if (width == common) {
            continue;
        }
        if (glyph != previous + 1) {
            list += previous >= 0 ? "]" : "";
            append_integer(list, glyph);
            list += '[';
        } else {
            list += ' ';
        }
        append_number(list, width, 0);
        previous = glyph;
    }
    list += previous >= 0 ? "]]" : "]";
    return list;
}

int PdfFont::write_descriptor(PdfObjectWriter& out, Deflater& deflater,
                              const std::vector<std::uint16_t>& glyphs) const {
    std::vector<char32_t> codes;
    for (const std::uint16_t glyph : glyphs) {
        if (m_code_of_glyph[glyph] != 0) {
            codes.push_back(m_code_of_glyph[glyph]);
        }
    }
    const std::string file = m_program.subset(glyphs, codes);
    const int file_number = out.reserve();
    std::string dictionary = "/Length1 ";
    append_integer(dictionary, file.size());
    dictionary += "/Filter/FlateDecode";
    out.write_stream(file_number, dictionary, deflater.deflate(file));

    const FontProgram::Metrics& m = m_program.metrics();
    const double scale = kGlyphSpaceUnits / m.units_per_em;
    std::string body = "<</Type/FontDescriptor/FontName/" + subset_name(glyphs) + "/Flags ";
    append_integer(body,
                   static_cast<std::uint64_t>((m.fixed_pitch ? kFixedPitch : 0) + kNonsymbolic +
                                              (m.italic_angle != 0 ? kItalic : 0)));
    body += "/FontBBox[";
    for (const int edge : {m.x_min, m.y_min, m.x_max, m.y_max}) {
        append_number(body, edge * scale, 0);
        body += ' ';
    }
    body.back() = ']';
    const std::pair<const char*, double> numbers[] = {{"/ItalicAngle ", m.italic_angle},
                                                      {"/Ascent ", m.ascent * scale},
                                                      {"/Descent ", m.descent * scale},
                                                      {"/CapHeight ", m.cap_height * scale},
                                                      {"/StemV ", kStemV}};
    for (const auto& [key, value] : numbers) {
        body += key;
        append_number(body, value, 0);
    }
    body += "/FontFile2 ";
    append_integer(body, static_cast<std::uint64_t>(file_number));
    body += " 0 R>>";
    const int number = out.reserve();
    out.write_object(number, body);
    return number;
}

void PdfFont::write(PdfObjectWriter& out, Deflater& deflater, int number) const {
    std::vector<std::uint16_t> glyphs{0};
    std::vector<std::pair<std::uint16_t, char32_t>> glyph_codes;
    std::map<double, int> width_counts;
    for (std::size_t id = 1; id < m_code_of_glyph.size(); ++id) {
        if (m_code_of_glyph[id] != 0) {
            glyphs.push_back(static_cast<std::uint16_t>(id));
            glyph_codes.emplace_back(static_cast<std::uint16_t>(id), m_code_of_glyph[id]);
            ++width_counts[width_of(static_cast<std::uint16_t>(id))];
        }
    }
    double common = width_of(0);
    int most = 0;
    for (const auto& [width, count] : width_counts) {
        if (count > most) {
            common = width;
            most = count;
        }
    }
    const std::string name = subset_name(glyphs);
    const int descriptor = write_descriptor(out, deflater, glyphs);

    const int cid_font = out.reserve();
    std::string body = "<</Type/Font/Subtype/CIDFontType2/BaseFont/" + name +
                       "/CIDSystemInfo<</Registry(Adobe)/Ordering(Identity)/Supplement 0>>"
                       "/FontDescriptor ";
    append_integer(body, static_cast<std::uint64_t>(descriptor));
    body += " 0 R/DW ";
    append_number(body, common, 0);
    body += "/W" + widths(glyphs, common) + "/CIDToGIDMap/Identity>>";
    out.write_object(cid_font, body);

    const int to_unicode = out.reserve();
    out.write_stream(to_unicode, "/Filter/FlateDecode",
                     deflater.deflate(to_unicode_cmap(glyph_codes)));

    body = "<</Type/Font/Subtype/Type0/BaseFont/" + name + "/Encoding/Identity-H/DescendantFonts[";
    append_integer(body, static_cast<std::uint64_t>(cid_font));
    body += " 0 R]/ToUnicode ";
    append_integer(body, static_cast<std::uint64_t>(to_unicode));
    body += " 0 R>>";
    out.write_object(number, body);
}

} // namespace kvalon
