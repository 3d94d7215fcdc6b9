#pragma once

#include "printing/pdf/font_source.h"

#include <memory>
#include <string>

namespace kvalon {

class FontFileFaces;

// The tables of the very file the pages were measured in, served for every
// family and weight: the PDF shows what was planned.
class FaceFileFontSource final : public FontSource {
public:
    explicit FaceFileFontSource(std::shared_ptr<FontFileFaces> faces);

    bool has_bold_face(const std::string& family) const override;
    std::string_view file(const std::string& family, bool bold) const override;

private:
    std::shared_ptr<FontFileFaces> m_faces;
};

} // namespace kvalon
