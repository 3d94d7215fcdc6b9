#pragma once

#include <array>
#include <cstddef>
#include <span>

namespace kvalon {

// How often one letter (in its lower-case form) occurs in a language, per
// 100,000 letters of its text.
struct LetterShare {
    char32_t letter;
    int per_100000;
};

// A language's letters, the most frequent first; a letter the language
// hardly uses is not among them.
struct LanguageLetters {
    const char* name;
    std::span<const LetterShare> letters;
};

inline constexpr std::size_t kLanguageCount = 13;

// Bulgarian, Russian, Ukrainian, Serbian in both its alphabets, German,
// French, Spanish, Czech, Slovak, Polish, Turkish and English.
extern const std::array<LanguageLetters, kLanguageCount> kLanguageLetters;

} // namespace kvalon
