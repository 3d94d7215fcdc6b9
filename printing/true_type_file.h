#pragma once

#include <cstdint>
#include <string_view>

namespace kvalon {

// The table directory of the first face of a TrueType file, over the file's
// bytes (which must stay), and big-endian reads that give 0 past the end, so
// that a damaged file reads as zeros instead of out of bounds.
class TrueTypeFile {
public:
    explicit TrueTypeFile(std::string_view file);

    // The table's bytes; empty when the face has none or it lies outside the file.
    std::string_view table(std::uint32_t tag) const;

    static std::uint32_t unsigned_at(std::string_view bytes, std::size_t at, std::size_t size);
    static std::uint16_t u16(std::string_view bytes, std::size_t at) {
        return static_cast<std::uint16_t>(unsigned_at(bytes, at, 2));
    }
    static std::int16_t s16(std::string_view bytes, std::size_t at) {
        return static_cast<std::int16_t>(u16(bytes, at));
    }
    static std::uint32_t u32(std::string_view bytes, std::size_t at) {
        return unsigned_at(bytes, at, 4);
    }

private:
    std::string_view m_file;
    std::string_view m_directory;
};

} // namespace kvalon
