#pragma once

#include <cstdint>
#include <string_view>

namespace kvalon {

// FNV-1a in 64 bits: the same input gives the same number, so two runs over
// one report write the same names and identifiers. No guard against a
// deliberate collision, and none is needed.
inline constexpr std::uint64_t kFnvOffsetBasis = 14695981039346656037ull;

// Takes one more value (a byte, or a glyph id as a whole) into `hash`.
constexpr std::uint64_t fnv_step(std::uint64_t hash, std::uint64_t value) {
    return (hash ^ value) * 1099511628211ull;
}

// `bytes` taken into `hash` one by one.
constexpr std::uint64_t fnv_hash(std::string_view bytes, std::uint64_t hash = kFnvOffsetBasis) {
    for (const char byte : bytes) {
        hash = fnv_step(hash, static_cast<unsigned char>(byte));
    }
    return hash;
}

} // namespace kvalon
