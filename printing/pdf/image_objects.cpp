#include "printing/pdf/image_objects.h"

#include "printing/pdf/deflater.h"
#include "printing/pdf/fnv_hash.h"
#include "printing/pdf/pdf_object_writer.h"
#include "printing/pdf/pdf_syntax.h"

#include <string>
#include <string_view>

namespace kvalon {

namespace {

std::string_view bits_of(const BitImage& dots) {
    return {reinterpret_cast<const char*>(dots.bits().data()), dots.bits().size()};
}

// Two pictures of the same bits but another shape must not meet: the size
// goes into the key with the bits.
std::uint64_t key_of(const BitImage& dots) {
    std::uint64_t hash = fnv_step(kFnvOffsetBasis, static_cast<std::uint64_t>(dots.columns()));
    hash = fnv_step(hash, static_cast<std::uint64_t>(dots.rows()));
    return fnv_hash(bits_of(dots), hash);
}

} // namespace

ImageObjects::ImageObjects(PdfObjectWriter& out, Deflater& deflater)
    : m_objects(out), m_deflater(deflater) {}

int ImageObjects::object_of(const BitImage& dots) {
    const std::uint64_t key = key_of(dots);
    if (const auto found = m_held.find(key); found != m_held.end()) {
        for (const Held& held : found->second) {
            if (held.dots == dots) {
                return held.number;
            }
        }
    }
    const int number = write(dots);
    const std::size_t size = dots.bits().size() + sizeof(Held);
    if (m_held_bytes + size <= kMostHeldBytes) {
        m_held[key].push_back({dots, number});
        m_held_bytes += size;
    }
    return number;
}

// An image mask whose set dots paint in the fill colour (black) and whose
// others leave the page as it is.
int ImageObjects::write(const BitImage& dots) {
    const int number = m_objects.reserve();
    std::string dictionary = "/Type/XObject/Subtype/Image/Width ";
    append_integer(dictionary, static_cast<std::uint64_t>(dots.columns()));
    dictionary += "/Height ";
    append_integer(dictionary, static_cast<std::uint64_t>(dots.rows()));
    dictionary += "/ImageMask true/BitsPerComponent 1/Decode[1 0]/Filter/FlateDecode";
    m_objects.write_stream(number, dictionary, m_deflater.deflate(bits_of(dots)));
    return number;
}

} // namespace kvalon
