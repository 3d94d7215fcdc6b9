#include "engine/escp/epson_sequences.h"

#include "engine/control_codes.h"
#include "engine/source_file.h"

namespace kvalon {

namespace {
constexpr std::size_t kLookedAt = std::size_t{1} << 16;
constexpr unsigned char kFirstSign = 0x21;
constexpr unsigned char kLastSign = 0x7e;

} // namespace

bool holds_epson_sequences(const std::string& path) {
    const std::string head = read_head(source_file().inputs(), path, kLookedAt);
    for (std::size_t i = 0; i + 1 < head.size(); ++i) {
        const auto code = static_cast<unsigned char>(head[i]);
        const auto next = static_cast<unsigned char>(head[i + 1]);
        if (code == codes::Escape && next >= kFirstSign && next <= kLastSign) {
            return true;
        }
    }
    return false;
}

} // namespace kvalon
