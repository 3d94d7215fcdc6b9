#pragma once

#include "engine/bit_image.h"

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace kvalon {

class Deflater;
class PdfObjectWriter;

// The pictures of one document as image-mask objects, each written once: a
// picture drawn again (a logo on every page) is the object written the first
// time, found by its dots and size. The pictures kept to compare against are
// bounded, so that a report of endless different pictures keeps its memory:
// past the bound a new picture is written as it comes, still correct.
class ImageObjects {
public:
    static constexpr std::size_t kMostHeldBytes = std::size_t{16} << 20;

    ImageObjects(PdfObjectWriter& out, Deflater& deflater);

    // The object number of `dots`, written now if it has not been.
    int object_of(const BitImage& dots);

private:
    struct Held {
        BitImage dots;
        int number = 0;
    };

    int write(const BitImage& dots);

    PdfObjectWriter& m_objects;
    Deflater& m_deflater;
    std::unordered_map<std::uint64_t, std::vector<Held>> m_held;
    std::size_t m_held_bytes = 0;
};

} // namespace kvalon
