#pragma once

#include <string>
#include <string_view>
#include <zlib.h>

namespace kvalon {

// Compresses stream contents for /FlateDecode, one complete zlib stream per
// call, reusing its state and its output buffer from call to call.
class Deflater {
public:
    // `level` 0 (stored) to 9 (smallest), as zlib counts.
    explicit Deflater(int level);
    ~Deflater();
    Deflater(const Deflater&) = delete;
    Deflater& operator=(const Deflater&) = delete;

    // The compressed bytes, valid until the next call.
    std::string_view deflate(std::string_view data);

private:
    z_stream m_stream{};
    std::string m_output;
};

} // namespace kvalon
