#include "printing/pdf/deflater.h"

#include <zlib.h>

#include <new>
#include <stdexcept>

// The state is a z_stream kept behind the compressor pointer the header
// names.
struct libdeflate_compressor {
    z_stream stream{};
};

namespace kvalon {

namespace {

// zlib's levels end at 9; libdeflate's 10 to 12 are its smallest as well.
constexpr int kMostZlibLevel = 9;

} // namespace

// zlib, where libdeflate is not to be had (the Windows build): the same
// streams a reader decodes, at about half the speed.
Deflater::Deflater(int level) : m_compressor(new libdeflate_compressor) {
    const int zlib_level = level > kMostZlibLevel ? kMostZlibLevel : level;
    if (deflateInit(&m_compressor->stream, zlib_level) != Z_OK) {
        delete m_compressor;
        throw std::bad_alloc();
    }
}

Deflater::~Deflater() {
    deflateEnd(&m_compressor->stream);
    delete m_compressor;
}

std::string_view Deflater::deflate(std::string_view data) {
    z_stream& stream = m_compressor->stream;
    deflateReset(&stream);
    const uLong bound = deflateBound(&stream, static_cast<uLong>(data.size()));
    if (m_output.size() < bound) {
        m_output.resize(bound);
    }
    // zlib does not write through its input pointer.
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(m_output.data());
    stream.avail_out = static_cast<uInt>(m_output.size());
    if (::deflate(&stream, Z_FINISH) != Z_STREAM_END) {
        throw std::runtime_error("deflate stopped short of its bound");
    }
    return {m_output.data(), stream.total_out};
}

} // namespace kvalon
