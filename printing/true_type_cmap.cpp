#include "printing/true_type_cmap.h"

#include "printing/face_reader.h"

#include <array>
#include <utility>

namespace kvalon {

namespace {

using Bytes = TrueTypeFile;

// Platform and encoding, best first.
constexpr std::array<std::pair<unsigned, unsigned>, 9> kPreferred = {
    {{3, 0}, {3, 10}, {0, 6}, {0, 4}, {3, 1}, {0, 3}, {0, 2}, {0, 1}, {0, 0}}};

bool readable(unsigned format) {
    return format == 4 || format == 12;
}

} // namespace

TrueTypeCmap::TrueTypeCmap(const TrueTypeFile& file) {
    const std::string_view cmap = file.table(sfnt_tag("cmap"));
    const std::size_t count = Bytes::u16(cmap, 2);
    for (const auto& [platform, encoding] : kPreferred) {
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t record = 4 + 8 * i;
            if (Bytes::u16(cmap, record) != platform || Bytes::u16(cmap, record + 2) != encoding) {
                continue;
            }
            const std::size_t offset = Bytes::u32(cmap, record + 4);
            const unsigned format = offset < cmap.size() ? Bytes::u16(cmap, offset) : 0;
            if (readable(format)) {
                m_subtable = cmap.substr(offset);
                m_format = format;
                return;
            }
        }
    }
}

std::uint32_t TrueTypeCmap::glyph(char32_t code) const {
    if (m_format == 4) {
        return code > 0xFFFF ? 0 : glyph_in_segments(code);
    }
    return m_format == 12 ? glyph_in_groups(code) : 0;
}

// Format 4: segments of codes, each with a delta or offsets into an array of glyphs.
std::uint32_t TrueTypeCmap::glyph_in_segments(char32_t code) const {
    const std::string_view t = m_subtable;
    const std::size_t segments = Bytes::u16(t, 6) / 2u;
    const std::size_t ends = 14;
    const std::size_t starts = ends + 2 * segments + 2;
    const std::size_t deltas = starts + 2 * segments;
    const std::size_t ranges = deltas + 2 * segments;
    for (std::size_t s = 0; s < segments; ++s) {
        if (code > Bytes::u16(t, ends + 2 * s)) {
            continue;
        }
        const unsigned start = Bytes::u16(t, starts + 2 * s);
        if (code < start) {
            return 0;
        }
        const unsigned delta = Bytes::u16(t, deltas + 2 * s);
        const std::size_t range = Bytes::u16(t, ranges + 2 * s);
        if (range == 0) {
            return (code + delta) & 0xFFFFu;
        }
        const std::size_t at = ranges + 2 * s + range + 2 * (code - start);
        const unsigned glyph = Bytes::u16(t, at);
        return glyph == 0 ? 0 : (glyph + delta) & 0xFFFFu;
    }
    return 0;
}

// Format 12: groups of consecutive codes on consecutive glyphs.
std::uint32_t TrueTypeCmap::glyph_in_groups(char32_t code) const {
    const std::string_view t = m_subtable;
    std::size_t low = 0;
    std::size_t high = Bytes::u32(t, 12);
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        const std::size_t group = 16 + 12 * middle;
        if (code < Bytes::u32(t, group)) {
            high = middle;
        } else if (code > Bytes::u32(t, group + 4)) {
            low = middle + 1;
        } else {
            return Bytes::u32(t, group + 8) + (code - Bytes::u32(t, group));
        }
    }
    return 0;
}

} // namespace kvalon
