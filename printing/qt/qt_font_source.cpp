#include "printing/qt/qt_font_source.h"

#include <QFont>

namespace kvalon {

namespace {

// Tables do not depend on the size; any size finds the face.
constexpr int kAnyPixelSize = 100;

} // namespace

// The face is chosen as the printer surface chooses it, with the same hint
// for a family that is not installed.
const QRawFont& QtFontSource::raw_font(const std::string& family, bool bold) const {
    const auto key = std::make_pair(family, bold);
    auto found = m_fonts.find(key);
    if (found == m_fonts.end()) {
        QFont font(QString::fromStdString(family));
        font.setStyleHint(QFont::TypeWriter);
        font.setPixelSize(kAnyPixelSize);
        font.setBold(bold);
        found = m_fonts.emplace(key, QRawFont::fromFont(font)).first;
    }
    return found->second;
}

// A family without a bold face gets its regular face for bold text: the same
// file, so the same header table.
bool QtFontSource::has_bold_face(const std::string& family) const {
    const QByteArray regular = raw_font(family, false).fontTable("head");
    const QByteArray bold = raw_font(family, true).fontTable("head");
    return !bold.isEmpty() && bold != regular;
}

std::string QtFontSource::table(const std::string& family, bool bold, std::uint32_t tag) const {
    const char name[5] = {static_cast<char>(tag >> 24), static_cast<char>(tag >> 16),
                          static_cast<char>(tag >> 8), static_cast<char>(tag), '\0'};
    const QByteArray bytes = raw_font(family, bold).fontTable(name);
    return bytes.toStdString();
}

} // namespace kvalon
