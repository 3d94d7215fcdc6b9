#pragma once

#include <string>
#include <string_view>

struct libdeflate_compressor;

namespace kvalon {

// Compresses stream contents for /FlateDecode, one complete zlib stream per
// call, reusing its state and its output buffer from call to call.
class Deflater {
public:
    // `level` 1 (fastest) to 12 (smallest); 0 stores without compressing.
    explicit Deflater(int level);
    ~Deflater();
    Deflater(const Deflater&) = delete;
    Deflater& operator=(const Deflater&) = delete;

    // The compressed bytes, valid until the next call.
    std::string_view deflate(std::string_view data);

private:
    libdeflate_compressor* m_compressor = nullptr;
    std::string m_output;
};

} // namespace kvalon
