#include "engine/document_kind.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace kvalon {
namespace {

// "^" stands for ESC.
std::string escaped(std::string text) {
    std::replace(text.begin(), text.end(), '^', '\x1b');
    return text;
}

// PCL's reset ESC E is followed by more PCL; an Epson report's bold ESC E by
// text or ESC/P, whatever its bytes.
TEST(DocumentKind, ToldByTheFirstBytes) {
    struct Case {
        std::string head;
        DocumentKind kind;
    };
    const Case cases[] = {
        {"%PDF-1.4\n", DocumentKind::Pdf},
        {"%!PS-Adobe-3.0\n", DocumentKind::PostScript},
        {"\x04%!PS", DocumentKind::PostScript},
        {escaped("^%-12345X@PJL JOB\r\n"), DocumentKind::Pcl},
        {escaped("^E^&l0O"), DocumentKind::Pcl},
        {escaped("^E^E^*t300R"), DocumentKind::Pcl},
        {escaped("^E^(10U^(s0p12h10v0s0b3T"), DocumentKind::Pcl},
        {escaped("^E^&a-2.5H"), DocumentKind::Pcl},
        {escaped("^EBOLD HEADING\r\n"), DocumentKind::Text},
        {escaped("^E^-1underlined"), DocumentKind::Text},
        {escaped("^E^(U\x01") + std::string("\0\x0a", 2), DocumentKind::Text}, // ESC/P 2 unit
        {escaped("^E^*\x27\x02") + std::string(1, '\0'), DocumentKind::Text},  // ESC * 39
        {escaped("^E^&") + std::string("\0AA", 3), DocumentKind::Text},        // user characters
        {escaped("^E^%0B"), DocumentKind::Text},                               // ESC % 0, then "B"
        {escaped("^E^&l"), DocumentKind::Text},                                // cut short
        {escaped("^@^E"), DocumentKind::Text},
        {" %!PS", DocumentKind::Text},
        {"%PDF", DocumentKind::Text},
        {"", DocumentKind::Text},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(document_kind_of(c.head), c.kind) << c.head;
    }
}

} // namespace
} // namespace kvalon
