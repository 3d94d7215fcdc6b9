#include "printing/true_type_subset.h"

#include "printing/face_reader.h"

#include <algorithm>
#include <array>
#include <map>
#include <set>

namespace kvalon {

namespace {

using Bytes = TrueTypeFile;

constexpr std::uint32_t kChecksumMagic = 0xB1B0AFBA;

void put16(std::string& out, unsigned value) {
    out += static_cast<char>(value >> 8 & 0xFF);
    out += static_cast<char>(value & 0xFF);
}

void put32(std::string& out, std::uint32_t value) {
    put16(out, value >> 16);
    put16(out, value & 0xFFFF);
}

void set16(std::string& bytes, std::size_t at, unsigned value) {
    if (at + 2 <= bytes.size()) {
        bytes[at] = static_cast<char>(value >> 8 & 0xFF);
        bytes[at + 1] = static_cast<char>(value & 0xFF);
    }
}

void pad4(std::string& bytes) {
    bytes.resize((bytes.size() + 3) / 4 * 4, '\0');
}

std::uint32_t checksum(std::string_view bytes) {
    std::uint32_t sum = 0;
    for (std::size_t at = 0; at < bytes.size(); at += 4) {
        sum += Bytes::u32(bytes, at);
    }
    return sum;
}

std::set<std::uint16_t> closure(const TrueTypeGlyphs& glyphs,
                                const std::vector<std::uint16_t>& wanted) {
    std::set<std::uint16_t> kept{0};
    std::vector<std::uint16_t> waiting(wanted.begin(), wanted.end());
    while (!waiting.empty()) {
        const std::uint16_t glyph = waiting.back();
        waiting.pop_back();
        if (glyph < glyphs.count() && kept.insert(glyph).second) {
            const std::vector<std::uint16_t> parts = glyphs.components(glyph);
            waiting.insert(waiting.end(), parts.begin(), parts.end());
        }
    }
    return kept;
}

// Format 4 for the codes up to U+FFFF: one segment for each run of codes on
// consecutive glyphs, and the closing segment.
std::string segment_map(const std::map<std::uint32_t, std::uint32_t>& glyph_of) {
    std::vector<std::array<unsigned, 3>> runs; // start, end, first glyph
    for (const auto& [code, glyph] : glyph_of) {
        if (code > 0xFFFE) {
            break;
        }
        if (!runs.empty() && runs.back()[1] + 1 == code &&
            runs.back()[2] + (code - runs.back()[0]) == glyph) {
            runs.back()[1] = code;
        } else {
            runs.push_back({code, code, glyph});
        }
    }
    runs.push_back({0xFFFF, 0xFFFF, 1});
    const auto segments = static_cast<unsigned>(runs.size());
    unsigned power = 1;
    unsigned selector = 0;
    while (power * 2 <= segments) {
        power *= 2;
        ++selector;
    }
    std::string table;
    put16(table, 4);
    put16(table, 16 + 8 * segments);
    put16(table, 0);
    put16(table, 2 * segments);
    put16(table, 2 * power);
    put16(table, selector);
    put16(table, 2 * (segments - power));
    for (const auto& run : runs) {
        put16(table, run[1]);
    }
    put16(table, 0);
    for (const auto& run : runs) {
        put16(table, run[0]);
    }
    for (const auto& run : runs) {
        put16(table, (run[2] - run[0]) & 0xFFFF);
    }
    for (std::size_t i = 0; i < runs.size(); ++i) {
        put16(table, 0);
    }
    return table;
}

// Format 12, for faces that map codes past U+FFFF.
std::string group_map(const std::map<std::uint32_t, std::uint32_t>& glyph_of) {
    std::vector<std::array<std::uint32_t, 3>> groups;
    for (const auto& [code, glyph] : glyph_of) {
        if (!groups.empty() && groups.back()[1] + 1 == code &&
            groups.back()[2] + (code - groups.back()[0]) == glyph) {
            groups.back()[1] = code;
        } else {
            groups.push_back({code, code, glyph});
        }
    }
    std::string table;
    put16(table, 12);
    put16(table, 0);
    put32(table, static_cast<std::uint32_t>(16 + 12 * groups.size()));
    put32(table, 0);
    put32(table, static_cast<std::uint32_t>(groups.size()));
    for (const auto& group : groups) {
        for (const std::uint32_t value : group) {
            put32(table, value);
        }
    }
    return table;
}

std::string character_map(const TrueTypeCmap& cmap, const std::vector<char32_t>& codes,
                          const std::set<std::uint16_t>& kept) {
    std::map<std::uint32_t, std::uint32_t> glyph_of;
    for (const char32_t code : codes) {
        const std::uint32_t glyph = cmap.glyph(code);
        if (glyph != 0 && glyph <= 0xFFFF && kept.count(static_cast<std::uint16_t>(glyph)) != 0) {
            glyph_of[code] = glyph;
        }
    }
    const bool wide = !glyph_of.empty() && glyph_of.rbegin()->first > 0xFFFE;
    const std::string segments = segment_map(glyph_of);
    std::string table;
    put16(table, 0);
    put16(table, wide ? 2 : 1);
    put16(table, 3);
    put16(table, 1);
    put32(table, wide ? 20 : 12);
    if (wide) {
        put16(table, 3);
        put16(table, 10);
        put32(table, static_cast<std::uint32_t>(20 + segments.size()));
    }
    table += segments;
    if (wide) {
        table += group_map(glyph_of);
    }
    return table;
}

struct GlyphTables {
    std::string glyf, loca, hmtx;
};

GlyphTables glyph_tables(const TrueTypeFile& file, const TrueTypeGlyphs& glyphs,
                         const std::set<std::uint16_t>& kept, unsigned count) {
    const std::string_view hmtx = file.table(sfnt_tag("hmtx"));
    const unsigned long_metrics =
        std::max(1u, unsigned{Bytes::u16(file.table(sfnt_tag("hhea")), 34)});
    GlyphTables out;
    for (unsigned id = 0; id < count; ++id) {
        put32(out.loca, static_cast<std::uint32_t>(out.glyf.size()));
        if (kept.count(static_cast<std::uint16_t>(id)) != 0) {
            out.glyf += glyphs.glyph(id);
            pad4(out.glyf);
        }
        const unsigned metric = std::min(id, long_metrics - 1);
        put16(out.hmtx, Bytes::u16(hmtx, 4u * metric));
        const std::size_t bearing =
            id < long_metrics ? 4u * id + 2 : 4u * long_metrics + 2u * (id - long_metrics);
        put16(out.hmtx, Bytes::u16(hmtx, bearing));
    }
    put32(out.loca, static_cast<std::uint32_t>(out.glyf.size()));
    return out;
}

std::string assembled(std::map<std::uint32_t, std::string>& tables) {
    const auto count = static_cast<unsigned>(tables.size());
    unsigned power = 1;
    unsigned selector = 0;
    while (power * 2 <= count) {
        power *= 2;
        ++selector;
    }
    std::string file;
    put32(file, 0x00010000);
    put16(file, count);
    put16(file, 16 * power);
    put16(file, selector);
    put16(file, 16 * (count - power));
    std::size_t offset = 12 + 16 * tables.size();
    for (const auto& [tag, bytes] : tables) {
        put32(file, tag);
        put32(file, checksum(bytes));
        put32(file, static_cast<std::uint32_t>(offset));
        put32(file, static_cast<std::uint32_t>(bytes.size()));
        offset += (bytes.size() + 3) / 4 * 4;
    }
    std::size_t head_at = 0;
    for (auto& [tag, bytes] : tables) {
        if (tag == sfnt_tag("head")) {
            head_at = file.size();
        }
        file += bytes;
        pad4(file);
    }
    const std::uint32_t adjustment = kChecksumMagic - checksum(file);
    set16(file, head_at + 8, adjustment >> 16);
    set16(file, head_at + 10, adjustment & 0xFFFF);
    return file;
}

} // namespace

std::optional<std::string> true_type_subset(const TrueTypeFile& file, const TrueTypeGlyphs& glyphs,
                                            const TrueTypeCmap& cmap,
                                            const std::vector<std::uint16_t>& wanted,
                                            const std::vector<char32_t>& codes,
                                            const std::vector<std::uint32_t>& kept) {
    if (glyphs.count() == 0 || file.table(sfnt_tag("glyf")).empty() ||
        file.table(sfnt_tag("head")).size() < 54 || file.table(sfnt_tag("hhea")).size() < 36 ||
        file.table(sfnt_tag("maxp")).size() < 6) {
        return std::nullopt;
    }
    const std::set<std::uint16_t> used = closure(glyphs, wanted);
    const unsigned count = *used.rbegin() + 1u;
    GlyphTables made = glyph_tables(file, glyphs, used, count);
    std::map<std::uint32_t, std::string> tables;
    for (const std::uint32_t tag : kept) {
        const std::string_view bytes = file.table(tag);
        if (!bytes.empty()) {
            tables[tag] = std::string(bytes);
        }
    }
    for (const std::uint32_t needed : {sfnt_tag("head"), sfnt_tag("hhea"), sfnt_tag("maxp")}) {
        tables[needed] = std::string(file.table(needed));
    }
    tables[sfnt_tag("glyf")] = std::move(made.glyf);
    tables[sfnt_tag("loca")] = std::move(made.loca);
    tables[sfnt_tag("hmtx")] = std::move(made.hmtx);
    set16(tables[sfnt_tag("head")], 50, 1);
    set16(tables[sfnt_tag("head")], 8, 0);
    set16(tables[sfnt_tag("head")], 10, 0);
    set16(tables[sfnt_tag("hhea")], 34, count);
    set16(tables[sfnt_tag("maxp")], 4, count);
    if (tables.count(sfnt_tag("cmap")) != 0) {
        tables[sfnt_tag("cmap")] = character_map(cmap, codes, used);
    }
    // The glyph names are left out: version 3 of the table has none.
    if (auto post = tables.find(sfnt_tag("post"));
        post != tables.end() && post->second.size() >= 32) {
        post->second.resize(32);
        set16(post->second, 0, 3);
        set16(post->second, 2, 0);
    }
    return assembled(tables);
}

} // namespace kvalon
