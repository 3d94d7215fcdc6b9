#pragma once

#include "engine/code_page.h"
#include "engine/letter_statistics.h"
#include "engine/letters.h"

#include <array>
#include <cstddef>
#include <vector>

namespace kvalon {

// How well the letters a code page makes of each byte fit each language, as
// natural logarithms of how often the language uses them (engine/
// letter_statistics.h): a letter the language hardly uses, or one of another
// alphabet, scores far below its own.
struct LetterScores {
    static constexpr std::size_t kByteValues = 256;
    // The alphabet most of each language's letters are in.
    std::array<Script, kLanguageCount> scripts{};
    // What a letter of each language's own text scores on average, negated.
    std::array<double, kLanguageCount> entropies{};
    // The languages reports in each page were written in, by their place in
    // kLanguageLetters.
    std::array<std::vector<std::size_t>, kCodePageCount> candidates;
    // Page, language, byte: 0 for a byte that is no letter in that page.
    std::array<std::array<std::array<double, kByteValues>, kLanguageCount>, kCodePageCount> of{};
};

// Made once, at the first call.
const LetterScores& letter_scores();

} // namespace kvalon
