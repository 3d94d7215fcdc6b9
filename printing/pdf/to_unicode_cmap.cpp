#include "printing/pdf/to_unicode_cmap.h"

#include "printing/pdf/pdf_syntax.h"

#include <algorithm>

namespace kvalon {

namespace {

constexpr std::string_view kHead = "/CIDInit /ProcSet findresource begin\n"
                                   "12 dict begin\n"
                                   "begincmap\n"
                                   "/CIDSystemInfo <</Registry (Adobe) /Ordering (UCS) "
                                   "/Supplement 0>> def\n"
                                   "/CMapName /Adobe-Identity-UCS def\n"
                                   "/CMapType 2 def\n"
                                   "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n";
constexpr std::string_view kTail = "endcmap\n"
                                   "CMapName currentdict /CMap defineresource pop\n"
                                   "end\n"
                                   "end\n";
// A map may hold at most this many entries in one block.
constexpr std::size_t kBlockEntries = 100;

} // namespace

std::string to_unicode_cmap(const std::vector<std::pair<std::uint16_t, char32_t>>& glyph_codes) {
    std::string map(kHead);
    for (std::size_t start = 0; start < glyph_codes.size(); start += kBlockEntries) {
        const std::size_t end = std::min(glyph_codes.size(), start + kBlockEntries);
        append_integer(map, end - start);
        map += " beginbfchar\n";
        for (std::size_t i = start; i < end; ++i) {
            map += '<';
            append_hex(map, glyph_codes[i].first, 4);
            map += "> <";
            append_utf16_hex(map, glyph_codes[i].second);
            map += ">\n";
        }
        map += "endbfchar\n";
    }
    map += kTail;
    return map;
}

} // namespace kvalon
