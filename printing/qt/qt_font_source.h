#pragma once

#include "printing/pdf/font_source.h"

#include <QRawFont>

#include <map>
#include <string>
#include <utility>

namespace kvalon {

// The fonts of a page as Qt's font system has them: the tables of the very
// face Qt measured the page in (the same family fallback included), so that
// the PDF shows what was planned. Needs a running QGuiApplication.
class QtFontSource final : public FontSource {
public:
    bool has_bold_face(const std::string& family) const override;
    std::string table(const std::string& family, bool bold, std::uint32_t tag) const override;

private:
    const QRawFont& raw_font(const std::string& family, bool bold) const;

    mutable std::map<std::pair<std::string, bool>, QRawFont> m_fonts;
};

} // namespace kvalon
