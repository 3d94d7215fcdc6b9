#include "printing/pdf/deflater.h"

#include <new>
#include <stdexcept>

namespace kvalon {

Deflater::Deflater(int level) {
    if (deflateInit(&m_stream, level) != Z_OK) {
        throw std::bad_alloc();
    }
}

Deflater::~Deflater() {
    deflateEnd(&m_stream);
}

std::string_view Deflater::deflate(std::string_view data) {
    deflateReset(&m_stream);
    // zlib's bound holds for one call with Z_FINISH, so one call does it all.
    const uLong bound = deflateBound(&m_stream, static_cast<uLong>(data.size()));
    if (m_output.size() < bound) {
        m_output.resize(bound);
    }
    m_stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    m_stream.avail_in = static_cast<uInt>(data.size());
    m_stream.next_out = reinterpret_cast<Bytef*>(m_output.data());
    m_stream.avail_out = static_cast<uInt>(m_output.size());
    if (::deflate(&m_stream, Z_FINISH) != Z_STREAM_END) {
        throw std::runtime_error("deflate stopped short of its bound");
    }
    return {m_output.data(), m_stream.total_out};
}

} // namespace kvalon
