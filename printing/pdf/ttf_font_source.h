#pragma once

#include "printing/pdf/font_source.h"

#include <string>

struct hb_face_t;

namespace kvalon {

// The tables of one TrueType file, served for every family and weight: the
// font the program ships, for the PDF writer where no font system is asked
// (tests, benchmarks, a printer path without Qt).
class TtfFontSource final : public FontSource {
public:
    // Throws KvalonError(File) naming the path when it holds no TrueType font.
    explicit TtfFontSource(const std::string& path);
    ~TtfFontSource() override;
    TtfFontSource(const TtfFontSource&) = delete;
    TtfFontSource& operator=(const TtfFontSource&) = delete;

    bool has_bold_face(const std::string& family) const override;
    std::string table(const std::string& family, bool bold, std::uint32_t tag) const override;

private:
    hb_face_t* m_face;
};

} // namespace kvalon
