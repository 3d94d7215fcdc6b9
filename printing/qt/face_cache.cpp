#include "printing/qt/face_cache.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QList>
#include <QPointF>
#include <QString>

namespace kvalon {

Face::Face(const std::string& family, int pixel_size, bool bold)
    : m_font(QString::fromStdString(family)), m_table(kTableLimit, Glyph{0, -1}) {
    // A family that is not installed falls back to a fixed-pitch face, not a
    // proportional one.
    m_font.setStyleHint(QFont::TypeWriter);
    m_font.setPixelSize(pixel_size);
    m_font.setBold(bold);
    m_font.setKerning(false);
    const QFontMetricsF measured(m_font);
    m_ascent_px = measured.ascent();
    m_line_spacing_px = measured.lineSpacing();
    m_raw = QRawFont::fromFont(m_font);
}

const Face::Glyph& Face::glyph(char32_t code_point) {
    if (code_point < kTableLimit && m_table[code_point].advance_px >= 0) {
        return m_table[code_point];
    }
    if (auto found = m_others.find(code_point); found != m_others.end()) {
        return found->second;
    }
    Glyph glyph;
    const QList<quint32> indexes = m_raw.glyphIndexesForString(QString::fromUcs4(&code_point, 1));
    if (!indexes.isEmpty()) {
        glyph.index = indexes.front();
        const QList<QPointF> advances = m_raw.advancesForGlyphIndexes(indexes);
        glyph.advance_px = advances.isEmpty() ? 0 : advances.front().x();
    }
    if (code_point < kTableLimit) {
        return m_table[code_point] = glyph;
    }
    return m_others.emplace(code_point, glyph).first->second;
}

Face& FaceCache::face(const std::string& family, int pixel_size, bool bold) {
    const auto key = std::make_tuple(family, pixel_size, bold);
    auto found = m_faces.find(key);
    if (found == m_faces.end()) {
        found = m_faces.try_emplace(key, family, pixel_size, bold).first;
    }
    return found->second;
}

std::vector<std::string> FaceCache::families() {
    std::vector<std::string> names;
    for (const QString& family : QFontDatabase::families()) {
        names.push_back(family.toStdString());
    }
    return names;
}

} // namespace kvalon
