#include "printing/pdf/ttf_font_source.h"

#include "engine/error.h"
#include "engine/messages.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace kvalon {

TtfFontSource::TtfFontSource(const std::string& path) {
    std::ifstream file(std::filesystem::u8path(path), std::ios::binary);
    if (!file) {
        throw KvalonError(ErrorKind::File, path, messages::kNoSuchPath);
    }
    m_file.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    if (file.bad() || read_face(m_file)->glyph_count() == 0) {
        throw KvalonError(ErrorKind::File, path);
    }
}

bool TtfFontSource::has_bold_face(const std::string&) const {
    return false;
}

std::string_view TtfFontSource::file(const std::string&, bool) const {
    return m_file;
}

} // namespace kvalon
