#include "printing/pdf/deflater.h"

#include <libdeflate.h>

#include <new>
#include <stdexcept>

namespace kvalon {

// libdeflate writes the same zlib streams as zlib at about twice its speed
// at the fastest levels, and page contents are most of a document's bytes.
Deflater::Deflater(int level) : m_compressor(libdeflate_alloc_compressor(level)) {
    if (m_compressor == nullptr) {
        throw std::bad_alloc();
    }
}

Deflater::~Deflater() {
    libdeflate_free_compressor(m_compressor);
}

std::string_view Deflater::deflate(std::string_view data) {
    const std::size_t bound = libdeflate_zlib_compress_bound(m_compressor, data.size());
    if (m_output.size() < bound) {
        m_output.resize(bound);
    }
    const std::size_t written = libdeflate_zlib_compress(m_compressor, data.data(), data.size(),
                                                         m_output.data(), m_output.size());
    if (written == 0) {
        throw std::runtime_error("deflate stopped short of its bound");
    }
    return {m_output.data(), written};
}

} // namespace kvalon
