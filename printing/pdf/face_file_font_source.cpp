#include "printing/pdf/face_file_font_source.h"

#include "printing/font_file_faces.h"

namespace kvalon {

FaceFileFontSource::FaceFileFontSource(std::shared_ptr<FontFileFaces> faces)
    : m_faces(std::move(faces)) {}

// One file, one weight: bold is drawn from the regular face.
bool FaceFileFontSource::has_bold_face(const std::string&) const {
    return false;
}

std::string_view FaceFileFontSource::file(const std::string&, bool) const {
    return m_faces->file_bytes();
}

} // namespace kvalon
