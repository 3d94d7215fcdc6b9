#include "printing/pdf/ttf_font_source.h"

#include "engine/error.h"
#include "engine/messages.h"

#include <hb.h>

namespace kvalon {

TtfFontSource::TtfFontSource(const std::string& path) {
    m_file = hb_blob_create_from_file_or_fail(path.c_str());
    if (m_file == nullptr) {
        throw KvalonError(ErrorKind::File, path, messages::kNoSuchPath);
    }
    hb_face_t* face = hb_face_create(m_file, 0);
    const unsigned glyphs = hb_face_get_glyph_count(face);
    hb_face_destroy(face);
    if (glyphs == 0) {
        hb_blob_destroy(m_file);
        throw KvalonError(ErrorKind::File, path);
    }
}

TtfFontSource::~TtfFontSource() {
    hb_blob_destroy(m_file);
}

bool TtfFontSource::has_bold_face(const std::string&) const {
    return false;
}

std::string_view TtfFontSource::file(const std::string&, bool) const {
    unsigned int length = 0;
    const char* data = hb_blob_get_data(m_file, &length);
    return data == nullptr ? std::string_view() : std::string_view(data, length);
}

} // namespace kvalon
