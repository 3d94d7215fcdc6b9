#include "printing/pdf/ttf_font_source.h"

#include "engine/error.h"
#include "engine/messages.h"

#include <hb.h>

namespace kvalon {

TtfFontSource::TtfFontSource(const std::string& path) {
    hb_blob_t* blob = hb_blob_create_from_file_or_fail(path.c_str());
    if (blob == nullptr) {
        throw KvalonError(ErrorKind::File, path, messages::kNoSuchPath);
    }
    m_face = hb_face_create(blob, 0);
    hb_blob_destroy(blob);
    if (hb_face_get_glyph_count(m_face) == 0) {
        hb_face_destroy(m_face);
        throw KvalonError(ErrorKind::File, path);
    }
}

TtfFontSource::~TtfFontSource() {
    hb_face_destroy(m_face);
}

bool TtfFontSource::has_bold_face(const std::string&) const {
    return false;
}

std::string TtfFontSource::table(const std::string&, bool, std::uint32_t tag) const {
    hb_blob_t* blob = hb_face_reference_table(m_face, tag);
    unsigned int length = 0;
    const char* data = hb_blob_get_data(blob, &length);
    std::string bytes(data == nullptr ? "" : std::string(data, length));
    hb_blob_destroy(blob);
    return bytes;
}

} // namespace kvalon
