#include "engine/escp/epson_sequences.h"

#include "engine/control_codes.h"

#include <array>
#include <cstdio>
#include <memory>

namespace kvalon {

namespace {
constexpr std::size_t kLookedAt = std::size_t{1} << 16;
constexpr unsigned char kFirstSign = 0x21;
constexpr unsigned char kLastSign = 0x7e;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
} // namespace

bool holds_epson_sequences(const std::string& path) {
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        return false;
    }
    std::array<unsigned char, kLookedAt> bytes{};
    const std::size_t count = std::fread(bytes.data(), 1, bytes.size(), file.get());
    for (std::size_t i = 0; i + 1 < count; ++i) {
        if (bytes[i] == codes::Escape && bytes[i + 1] >= kFirstSign && bytes[i + 1] <= kLastSign) {
            return true;
        }
    }
    return false;
}

} // namespace kvalon
