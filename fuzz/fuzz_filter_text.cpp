// filter_text for one target (KVALON_FUZZ_TARGET) over any text. The first
// byte chooses the bold marker (0: none), the rest is the text.
#include "engine/filter_text.h"
#include "engine/print_job.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

constexpr unsigned char kFormFeed = 12;
constexpr unsigned char kCarriageReturn = 13;

bool is_control_byte(unsigned char c) {
    return c == 12 || c == 15 || c == 18 || c == 27;
}

bool could_be_made(unsigned char c, bool screen) {
    return c == 'N' || (screen && (c == '-' || c == '|' || c == ' '));
}

// The part of the text before its first form feed and carriage return pair.
std::size_t kept_length(const std::string& text) {
    for (std::size_t i = 1; i < text.size(); ++i) {
        if (static_cast<unsigned char>(text[i - 1]) == kFormFeed &&
            static_cast<unsigned char>(text[i]) == kCarriageReturn) {
            return i - 1;
        }
    }
    return text.size();
}

void check(const std::string& text, const std::string& result, unsigned char marker) {
    if (result.size() > kept_length(text)) {
        std::abort();
    }
    const bool screen = std::string(KVALON_FUZZ_TARGET) == "Screen";
    for (const char byte : result) {
        const auto c = static_cast<unsigned char>(byte);
        // Control bytes go, and every MIK letter moves to its Windows place.
        if (is_control_byte(c) || (c >= 128 && c <= 191)) {
            std::abort();
        }
        // A low marker never survives; only the numero sign and the plain
        // box characters of the screen can bring its value back.
        if (marker != 0 && marker < 128 && c == marker && !could_be_made(marker, screen)) {
            std::abort();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const auto marker = static_cast<unsigned char>(data[0]);
    kvalon::job().SkipChar =
        marker == 0 ? std::string() : std::string(1, static_cast<char>(marker));
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    check(text, kvalon::filter_text(text, KVALON_FUZZ_TARGET), marker);
    return 0;
}
