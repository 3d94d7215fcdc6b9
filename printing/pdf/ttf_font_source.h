#pragma once

#include "printing/pdf/font_source.h"

#include <string>

namespace kvalon {

// One TrueType file, served for every family and weight: the font the
// program ships, for the PDF writer of tests and benchmarks.
class TtfFontSource final : public FontSource {
public:
    // Throws KvalonError(File) naming the path when it holds no TrueType font.
    explicit TtfFontSource(const std::string& path);

    bool has_bold_face(const std::string& family) const override;
    std::string_view file(const std::string& family, bool bold) const override;

private:
    std::string m_file;
};

} // namespace kvalon
