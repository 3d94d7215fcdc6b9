#include "printing/pdf/face_file_font_source.h"

#include "printing/font_file_faces.h"

namespace kvalon {

FaceFileFontSource::FaceFileFontSource(std::shared_ptr<FontFileFaces> faces)
    : m_faces(std::move(faces)) {}

// One file, one weight: bold is drawn from the regular face.
bool FaceFileFontSource::has_bold_face(const std::string&) const {
    return false;
}

std::string FaceFileFontSource::table(const std::string&, bool, std::uint32_t tag) const {
    return m_faces->table(tag);
}

} // namespace kvalon
