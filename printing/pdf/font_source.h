#pragma once

#include "printing/face_reader.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kvalon {

// Where the PDF writer gets the fonts of a page's faces from: the very
// TrueType file the page was measured in.
class FontSource {
public:
    virtual ~FontSource() = default;

    // Whether `family` has a face of its own for bold text. Without one, bold
    // text is printed in the regular face, drawn twice a little apart.
    virtual bool has_bold_face(const std::string& family) const = 0;
    // The font file of the family's bold or regular face, as stored; empty
    // when the source has none. The bytes stay as long as the source.
    virtual std::string_view file(const std::string& family, bool bold) const = 0;
};

} // namespace kvalon
