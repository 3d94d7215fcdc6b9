#include "printing/true_type_file.h"

namespace kvalon {

namespace {

constexpr std::size_t kHeaderSize = 12;
constexpr std::size_t kRecordSize = 16;
constexpr std::uint32_t kCollection = 0x74746366; // "ttcf"

} // namespace

TrueTypeFile::TrueTypeFile(std::string_view file) : m_file(file) {
    std::size_t start = 0;
    // A collection: its first face.
    if (u32(file, 0) == kCollection) {
        start = u32(file, 12);
    }
    if (start >= file.size()) {
        return;
    }
    const std::size_t tables = u16(file, start + 4);
    const std::size_t size = tables * kRecordSize;
    if (file.size() - start >= kHeaderSize + size) {
        m_directory = file.substr(start + kHeaderSize, size);
    }
}

std::string_view TrueTypeFile::table(std::uint32_t tag) const {
    for (std::size_t at = 0; at + kRecordSize <= m_directory.size(); at += kRecordSize) {
        if (u32(m_directory, at) != tag) {
            continue;
        }
        const std::size_t offset = u32(m_directory, at + 8);
        const std::size_t length = u32(m_directory, at + 12);
        if (offset > m_file.size() || length > m_file.size() - offset) {
            return {};
        }
        return m_file.substr(offset, length);
    }
    return {};
}

std::uint32_t TrueTypeFile::unsigned_at(std::string_view bytes, std::size_t at, std::size_t size) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < size; ++i) {
        const std::size_t index = at + i;
        value =
            value << 8 |
            (index < bytes.size() && index >= at ? static_cast<unsigned char>(bytes[index]) : 0u);
    }
    return value;
}

} // namespace kvalon
