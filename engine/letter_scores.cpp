#include "engine/letter_scores.h"

#include <algorithm>
#include <cmath>
#include <string_view>
#include <unordered_map>

namespace kvalon {

namespace {

constexpr double kRareLetter = -11.5;    // a letter of the language's alphabet it hardly uses
constexpr double kForeignLetter = -16.0; // a letter of another alphabet

// One language's letters as log-probabilities.
class LanguageModel {
public:
    explicit LanguageModel(const LanguageLetters& language) {
        double total = 0;
        std::array<double, 4> by_script{};
        for (const LetterShare& share : language.letters) {
            total += share.per_100000;
            by_script[static_cast<std::size_t>(script_of(share.letter))] += share.per_100000;
        }
        for (const LetterShare& share : language.letters) {
            const double p = share.per_100000 / total;
            m_log_share[share.letter] = std::log(p);
            m_entropy -= p * std::log(p);
        }
        m_script = static_cast<Script>(std::max_element(by_script.begin(), by_script.end()) -
                                       by_script.begin());
    }

    double score(char32_t letter) const {
        const char32_t folded = folded_letter(letter);
        if (const auto found = m_log_share.find(folded); found != m_log_share.end()) {
            return found->second;
        }
        return script_of(folded) == m_script ? kRareLetter : kForeignLetter;
    }

    Script script() const { return m_script; }
    // What a letter of the language's own text scores on average.
    double entropy() const { return m_entropy; }

private:
    double m_entropy = 0;
    std::unordered_map<char32_t, double> m_log_share;
    Script m_script = Script::Latin;
};

} // namespace

const LetterScores& letter_scores() {
    static const LetterScores scores = [] {
        LetterScores made;
        for (std::size_t p = 0; p < kCodePageCount; ++p) {
            for (const std::string_view name : kCodePageRows[p].languages) {
                for (std::size_t l = 0; l < kLanguageCount; ++l) {
                    if (name == kLanguageLetters[l].name) {
                        made.candidates[p].push_back(l);
                    }
                }
            }
        }
        for (std::size_t l = 0; l < kLanguageCount; ++l) {
            const LanguageModel model(kLanguageLetters[l]);
            made.scripts[l] = model.script();
            made.entropies[l] = model.entropy();
            for (std::size_t p = 0; p < kCodePageCount; ++p) {
                for (std::size_t b = 0; b < LetterScores::kByteValues; ++b) {
                    const char32_t c =
                        character_of(static_cast<CodePageId>(p), static_cast<unsigned char>(b));
                    made.of[p][l][b] = script_of(c) != Script::None ? model.score(c) : 0;
                }
            }
        }
        return made;
    }();
    return scores;
}

} // namespace kvalon
