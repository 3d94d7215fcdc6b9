#include "printing/own_face_reader.h"

#include "printing/true_type_cmap.h"
#include "printing/true_type_file.h"
#include "printing/true_type_glyphs.h"
#include "printing/true_type_subset.h"

#include <array>

namespace kvalon {

namespace {

using Bytes = TrueTypeFile;

constexpr unsigned kFallbackUnitsPerEm = 1000;
constexpr unsigned kFewestUnitsPerEm = 16;
constexpr unsigned kMostUnitsPerEm = 16384;

void append_utf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | code >> 6);
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | code >> 12);
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | code >> 18);
        out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// UTF-16 (big-endian), unpaired halves as U+FFFD.
std::string from_utf16(std::string_view bytes) {
    std::string text;
    for (std::size_t at = 0; at + 1 < bytes.size(); at += 2) {
        char32_t unit = Bytes::u16(bytes, at);
        if (unit >= 0xD800 && unit < 0xDC00 && at + 3 < bytes.size()) {
            const char32_t low = Bytes::u16(bytes, at + 2);
            if (low >= 0xDC00 && low < 0xE000) {
                unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                at += 2;
            }
        }
        append_utf8(text, unit >= 0xD800 && unit < 0xE000 ? 0xFFFD : unit);
    }
    return text;
}

// Mac Roman: its ASCII half, the rest as U+FFFD.
std::string from_roman(std::string_view bytes) {
    std::string text;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        append_utf8(text, byte < 0x80 ? char32_t{byte} : char32_t{0xFFFD});
    }
    return text;
}

class OwnFaceReader final : public FaceReader {
public:
    explicit OwnFaceReader(std::string_view file)
        : m_file(file), m_glyphs(m_file), m_cmap(m_file), m_hmtx(m_file.table(sfnt_tag("hmtx"))),
          m_long_metrics(Bytes::u16(m_file.table(sfnt_tag("hhea")), 34)) {
        const unsigned upem = Bytes::u16(m_file.table(sfnt_tag("head")), 18);
        m_units_per_em =
            upem < kFewestUnitsPerEm || upem > kMostUnitsPerEm ? kFallbackUnitsPerEm : upem;
    }

    unsigned glyph_count() const override { return m_glyphs.count(); }
    unsigned units_per_em() const override { return m_units_per_em; }
    std::string table(std::uint32_t tag) const override { return std::string(m_file.table(tag)); }

    bool nominal_glyph(char32_t code, std::uint32_t& glyph) const override {
        glyph = m_cmap.glyph(code);
        return glyph != 0;
    }

    // Glyphs past the last advance have the last one; glyphs the face does
    // not have, none.
    int advance(std::uint32_t glyph) const override {
        if (m_long_metrics == 0 || m_hmtx.empty()) {
            return static_cast<int>(m_units_per_em / 2);
        }
        if (glyph >= m_glyphs.count()) {
            return 0;
        }
        return Bytes::u16(m_hmtx, 4u * std::min(glyph, m_long_metrics - 1));
    }

    std::string name(unsigned name_id) const override;

    std::vector<OutlineStep> outline(std::uint32_t glyph) const override {
        return m_glyphs.outline(glyph);
    }

    std::optional<std::string> subset(const std::vector<std::uint16_t>& glyphs,
                                      const std::vector<char32_t>& codes,
                                      const std::vector<std::uint32_t>& kept) const override {
        return true_type_subset(m_file, m_glyphs, m_cmap, glyphs, codes, kept);
    }

private:
    TrueTypeFile m_file;
    TrueTypeGlyphs m_glyphs;
    TrueTypeCmap m_cmap;
    std::string_view m_hmtx;
    unsigned m_long_metrics;
    unsigned m_units_per_em;
};

// English first: Windows's American English, then any Windows Unicode
// entry, then Unicode's own, then Mac Roman English.
std::string OwnFaceReader::name(unsigned name_id) const {
    const std::string_view table = m_file.table(sfnt_tag("name"));
    const std::size_t count = Bytes::u16(table, 2);
    const std::size_t strings = Bytes::u16(table, 4);
    int best_rank = 0;
    std::string best;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t record = 6 + 12 * i;
        if (Bytes::u16(table, record + 6) != name_id) {
            continue;
        }
        const unsigned platform = Bytes::u16(table, record);
        const unsigned encoding = Bytes::u16(table, record + 2);
        const unsigned language = Bytes::u16(table, record + 4);
        int rank = 0;
        if (platform == 3 && (encoding == 1 || encoding == 10)) {
            rank = language == 0x0409 ? 4 : 3;
        } else if (platform == 0) {
            rank = 2;
        } else if (platform == 1 && encoding == 0 && language == 0) {
            rank = 1;
        }
        const std::size_t start = strings + Bytes::u16(table, record + 10);
        const std::size_t length = Bytes::u16(table, record + 8);
        if (rank <= best_rank || start > table.size() || length > table.size() - start) {
            continue;
        }
        const std::string_view bytes = table.substr(start, length);
        best = platform == 1 ? from_roman(bytes) : from_utf16(bytes);
        best_rank = rank;
    }
    return best;
}

} // namespace

std::unique_ptr<FaceReader> read_face_with_own_tables(std::string_view file) {
    return std::make_unique<OwnFaceReader>(file);
}

} // namespace kvalon
