#include "printing/font_file_faces.h"

#include "engine/error.h"
#include "engine/messages.h"

#include <hb-ot.h>
#include <hb.h>

#include <cmath>
#include <unordered_map>

namespace kvalon {

namespace {

constexpr std::int64_t kSubpixels = 64;

std::int16_t signed_16(const char* bytes) {
    return static_cast<std::int16_t>(static_cast<unsigned char>(bytes[0]) << 8 |
                                     static_cast<unsigned char>(bytes[1]));
}

// A figure in font units at a pixel size, rounded to 1/64 pixel (halves up).
double rounded_px(int units, int pixel_size, int units_per_em) {
    const double subpixels = std::round(static_cast<double>(units) * pixel_size * kSubpixels /
                                        static_cast<double>(units_per_em));
    return subpixels / kSubpixels;
}

} // namespace

// One pixel size: the line figures, and the advances of the code points met
// so far (those of our code pages in a table, the rare rest in a map).
class FontFileFaces::Face final : public FaceMetrics {
public:
    Face(FontFileFaces& file, int pixel_size)
        : m_file(file), m_pixel_size(pixel_size), m_table(kTableLimit, -1) {
        const int upem = file.m_units_per_em;
        m_ascent = rounded_px(file.m_ascender, pixel_size, upem);
        m_line_spacing = m_ascent + rounded_px(file.m_descender, pixel_size, upem) +
                         rounded_px(file.m_line_gap, pixel_size, upem);
    }

    double ascent_px() const override { return m_ascent; }
    double line_spacing_px() const override { return m_line_spacing; }

    double advance_px(char32_t code_point) override {
        if (code_point < kTableLimit) {
            double& known = m_table[code_point];
            if (known < 0) {
                known = measured(code_point);
            }
            return known;
        }
        const auto found = m_others.find(code_point);
        if (found != m_others.end()) {
            return found->second;
        }
        return m_others.emplace(code_point, measured(code_point)).first->second;
    }

private:
    static constexpr char32_t kTableLimit = 0x2600;

    // Cut, not rounded, to 1/64 pixel.
    double measured(char32_t code_point) const {
        const std::int64_t units = m_file.advance_units(code_point);
        const std::int64_t subpixels = units * m_pixel_size * kSubpixels / m_file.m_units_per_em;
        return static_cast<double>(subpixels) / kSubpixels;
    }

    FontFileFaces& m_file;
    int m_pixel_size;
    double m_ascent = 0;
    double m_line_spacing = 0;
    std::vector<double> m_table; // negative: not measured yet
    std::unordered_map<char32_t, double> m_others;
};

FontFileFaces::FontFileFaces(std::vector<std::string> candidates)
    : m_candidates(std::move(candidates)) {}

FontFileFaces::~FontFileFaces() {
    m_faces.clear();
    hb_font_destroy(m_font);
    hb_face_destroy(m_face);
    hb_blob_destroy(m_file);
}

bool FontFileFaces::load() {
    if (m_tried) {
        return m_face != nullptr;
    }
    m_tried = true;
    for (const std::string& candidate : m_candidates) {
        hb_blob_t* blob = hb_blob_create_from_file_or_fail(candidate.c_str());
        if (blob == nullptr) {
            continue;
        }
        hb_face_t* face = hb_face_create(blob, 0);
        hb_blob_t* header = hb_face_reference_table(face, HB_TAG('h', 'h', 'e', 'a'));
        unsigned int length = 0;
        const char* bytes = hb_blob_get_data(header, &length);
        if (hb_face_get_glyph_count(face) == 0 || length < 10) {
            hb_blob_destroy(header);
            hb_face_destroy(face);
            hb_blob_destroy(blob);
            continue;
        }
        m_ascender = signed_16(bytes + 4);
        m_descender = -signed_16(bytes + 6);
        m_line_gap = signed_16(bytes + 8);
        hb_blob_destroy(header);
        m_file = blob;
        m_face = face;
        m_units_per_em = static_cast<int>(hb_face_get_upem(face));
        m_font = hb_font_create(face);
        // Advances in font units.
        hb_font_set_scale(m_font, m_units_per_em, m_units_per_em);
        m_path = candidate;
        return true;
    }
    return false;
}

void FontFileFaces::require() {
    if (!load()) {
        throw KvalonError(ErrorKind::File, m_candidates.empty() ? "" : m_candidates.front(),
                          messages::kNoSuchPath);
    }
}

int FontFileFaces::advance_units(char32_t code_point) {
    hb_codepoint_t glyph = 0;
    if (!hb_font_get_nominal_glyph(m_font, code_point, &glyph)) {
        glyph = 0;
    }
    return hb_font_get_glyph_h_advance(m_font, glyph);
}

FaceMetrics& FontFileFaces::face(const std::string&, int pixel_size, bool) {
    require();
    std::unique_ptr<Face>& found = m_faces[pixel_size];
    if (!found) {
        found = std::make_unique<Face>(*this, pixel_size);
    }
    return *found;
}

std::vector<std::string> FontFileFaces::families() {
    if (!load()) {
        return {};
    }
    unsigned int length = hb_ot_name_get_utf8(m_face, HB_OT_NAME_ID_FONT_FAMILY,
                                              HB_LANGUAGE_INVALID, nullptr, nullptr);
    if (length == 0) {
        return {};
    }
    std::string family(length + 1, '\0');
    ++length;
    hb_ot_name_get_utf8(m_face, HB_OT_NAME_ID_FONT_FAMILY, HB_LANGUAGE_INVALID, &length,
                        family.data());
    family.resize(length);
    return {family};
}

const std::string& FontFileFaces::path() {
    require();
    return m_path;
}

std::string_view FontFileFaces::file_bytes() {
    require();
    unsigned int length = 0;
    const char* data = hb_blob_get_data(m_file, &length);
    return data == nullptr ? std::string_view() : std::string_view(data, length);
}

} // namespace kvalon
