#include "printing/font_file_faces.h"

#include "engine/error.h"
#include "engine/messages.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <unordered_map>

namespace kvalon {

namespace {

constexpr std::int64_t kSubpixels = 64;
constexpr unsigned kFamilyName = 1;

// The whole file, or nothing when it cannot be read. The path is UTF-8.
std::optional<std::string> file_content(const std::string& path) {
    std::ifstream file(std::filesystem::u8path(path), std::ios::binary);
    if (!file) {
        return std::nullopt;
    }
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad()) {
        return std::nullopt;
    }
    return bytes;
}

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
}

bool FontFileFaces::load() {
    if (m_tried) {
        return m_face != nullptr;
    }
    m_tried = true;
    for (const std::string& candidate : m_candidates) {
        std::optional<std::string> bytes = file_content(candidate);
        if (!bytes) {
            continue;
        }
        std::unique_ptr<FaceReader> face = read_face(*bytes);
        const std::string header = face->table(sfnt_tag("hhea"));
        if (face->glyph_count() == 0 || header.size() < 10) {
            continue;
        }
        m_ascender = signed_16(header.data() + 4);
        m_descender = -signed_16(header.data() + 6);
        m_line_gap = signed_16(header.data() + 8);
        // The reader reads the bytes where they are: they move in first.
        m_file = std::move(*bytes);
        m_face = read_face(m_file);
        m_units_per_em = static_cast<int>(m_face->units_per_em());
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
    std::uint32_t glyph = 0;
    if (!m_face->nominal_glyph(code_point, glyph)) {
        glyph = 0;
    }
    return m_face->advance(glyph);
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
    std::string family = m_face->name(kFamilyName);
    if (family.empty()) {
        return {};
    }
    return {family};
}

const std::string& FontFileFaces::path() {
    require();
    return m_path;
}

std::string_view FontFileFaces::file_bytes() {
    require();
    return m_file;
}

} // namespace kvalon
