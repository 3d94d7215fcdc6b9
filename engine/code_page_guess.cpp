#include "engine/code_page_guess.h"

#include "engine/byte_roles.h"
#include "engine/letter_scores.h"
#include "engine/letters.h"
#include "engine/sign_score.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <limits>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace kvalon {

namespace {

// MIK, the program's own page, is taken unless another is clearly better.
constexpr double kMikLead = 4.0;
// How far a page must lead every page that prints the report otherwise.
constexpr double kSureMargin = 4.0;
// The lead at which the certainty is 73 % (1 / (1 + e^-1)).
constexpr double kEvidenceScale = 3.0;
// Letters of a language's own text score its entropy on average; letters
// that score this much worse are no text of it (random bytes, binary data).
constexpr double kFitSlack = 1.0;
// How far, per letter, the mix of a text's letters lies from its language's
// at most (the Kullback-Leibler divergence, in nats): reports stay below
// 0.35, random letters lie at 0.65 and more, one letter repeated at 2 to 5.
constexpr double kMostDivergence = 0.5;
// A short text's letters lie farther from its language's by chance: lines and
// short pieces of reports of 8 to 60 letters, up to this many nats in all.
constexpr double kShortTextAllowance = 16.0;

std::vector<std::string_view> lines_of(std::string_view sample) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= sample.size(); ++i) {
        if (i == sample.size() || sample[i] == '\r' || sample[i] == '\n' || sample[i] == '\f') {
            lines.push_back(sample.substr(start, i - start));
            if (i + 1 < sample.size() && sample[i] == '\r' && sample[i + 1] == '\n') {
                ++i;
            }
            start = i + 1;
        }
    }
    return lines;
}

using ByteCounts = std::array<std::uint64_t, kByteValues>;

struct PageScore {
    double score = -std::numeric_limits<double>::infinity();
    std::size_t language = 0;
    double letter_score = 0; // of the letters alone
    std::uint64_t letter_count = 0;
};

PageScore page_score(std::size_t page, const std::array<std::uint64_t, kByteValues>& counts,
                     const std::array<double, kLanguageCount>& ascii_scores,
                     std::uint64_t ascii_letters, double signs) {
    const LetterScores& letters = letter_scores();
    const Roles& roles = all_roles()[page];
    std::uint64_t high_letters = 0;
    for (std::size_t b = kFirstHigh; b < kByteValues; ++b) {
        high_letters += roles[b].kind == Kind::Letter ? counts[b] : 0;
    }
    PageScore best;
    for (const std::size_t l : letters.candidates[page]) {
        double letter_score = ascii_scores[l];
        for (std::size_t b = kFirstHigh; b < kByteValues; ++b) {
            letter_score += static_cast<double>(counts[b]) * letters.of[page][l][b];
        }
        if (letter_score + signs > best.score) {
            best = PageScore{letter_score + signs, l, letter_score, ascii_letters + high_letters};
        }
    }
    return best;
}

// Two pages print the sample alike when every byte of it above 127 is the
// same character in both.
bool print_alike(std::size_t a, std::size_t b,
                 const std::array<std::uint64_t, kByteValues>& counts) {
    for (std::size_t byte = kFirstHigh; byte < kByteValues; ++byte) {
        const auto code = static_cast<unsigned char>(byte);
        if (counts[byte] > 0 && character_of(static_cast<CodePageId>(a), code) !=
                                    character_of(static_cast<CodePageId>(b), code)) {
            return false;
        }
    }
    return true;
}

// Where a page's row names the language among the languages its reports are
// written in: 0 for the first, the most likely.
std::size_t language_rank(const CodePageRow& row, std::size_t language) {
    const std::string_view name = kLanguageLetters[language].name;
    const auto found = std::find(row.languages.begin(), row.languages.end(), name);
    return static_cast<std::size_t>(found - row.languages.begin());
}

// Among pages that print a report alike, the one named: MIK, the program's
// own; then the page made for the language of the report's letters, the one
// that names it first among its languages (CP850, made for Western Europe,
// before CP437 for a German, French or Spanish report); then the pages of
// the language's alphabet; each tie in the order of the rows.
std::array<CodePageId, kCodePageCount> naming_order(std::size_t language) {
    const Script alphabet = letter_scores().scripts[language];
    std::array<CodePageId, kCodePageCount> order{};
    for (std::size_t p = 0; p < kCodePageCount; ++p) {
        order[p] = static_cast<CodePageId>(p);
    }
    const auto key = [&](CodePageId page) {
        const CodePageRow& row = kCodePageRows[static_cast<std::size_t>(page)];
        return std::tuple(page != CodePageId::Mik, language_rank(row, language),
                          row.script != alphabet);
    };
    std::stable_sort(order.begin(), order.end(),
                     [&](CodePageId a, CodePageId b) { return key(a) < key(b); });
    return order;
}

bool reads_as_its_language(const PageScore& score) {
    if (score.letter_count == 0) {
        return true; // frames and figures alone
    }
    const double per_letter = score.letter_score / static_cast<double>(score.letter_count);
    return per_letter >= -(letter_scores().entropies[score.language] + kFitSlack);
}

// How many nats a reading's letters stand on the side of text: a text of N
// letters of K kinds keeps their divergence D from its language's mix below
// kMostDivergence, less the (K - 1) / 2N a sample shows by chance and the
// allowance of a short text, and every letter adds its share. Letters that
// lie farther (random bytes, one byte over and over), or none at all, are no
// evidence for the page, however many bytes the page turns into letters.
// A line that repeats another but for its figures is no more evidence than
// the first: `counts` are those of the sample's distinct lines.
double text_evidence(std::size_t page, const ByteCounts& counts, std::size_t language) {
    const Roles& roles = all_roles()[page];
    const auto& scores = letter_scores().of[page][language];
    std::map<char32_t, std::uint64_t> by_letter;
    std::uint64_t letter_count = 0;
    double letter_score = 0;
    for (std::size_t b = 0; b < kByteValues; ++b) {
        if (roles[b].kind == Kind::Letter && counts[b] > 0) {
            by_letter[roles[b].letter] += counts[b];
            letter_count += counts[b];
            letter_score += static_cast<double>(counts[b]) * scores[b];
        }
    }
    if (letter_count == 0) {
        return 0;
    }
    const auto letters = static_cast<double>(letter_count);
    double entropy_total = 0; // N times the entropy of the sample's own mix
    for (const auto& [letter, count] : by_letter) {
        const auto n = static_cast<double>(count);
        entropy_total -= n * std::log(n / letters);
    }
    // -N D = the letters' score + N H(sample)
    const double chance = static_cast<double>(by_letter.size() - 1) / 2;
    return letter_score + entropy_total + chance + letters * kMostDivergence + kShortTextAllowance;
}

// The bytes of the sample's lines, each line counted once whatever figures
// it holds.
ByteCounts distinct_line_counts(const std::vector<std::string_view>& lines) {
    ByteCounts counts{};
    std::set<std::string> seen;
    for (const std::string_view line : lines) {
        std::string words;
        std::copy_if(line.begin(), line.end(), std::back_inserter(words),
                     [](char c) { return c < '0' || c > '9'; });
        if (seen.insert(words).second) {
            for (const char c : words) {
                ++counts[static_cast<unsigned char>(c)];
            }
        }
    }
    return counts;
}

// In whole per cent, to the nearest: 99.99 % is 100, as a lead of hundreds
// of nats and as a few hundred letters that are plainly text.
int certainty_of(double lead) {
    if (std::isinf(lead)) {
        return lead > 0 ? 100 : 0;
    }
    const double sure = 100 / (1 + std::exp(-lead / kEvidenceScale));
    return static_cast<int>(std::lround(sure));
}

} // namespace

CodePageGuess guess_code_page(std::string_view sample) {
    std::array<std::uint64_t, kByteValues> counts{};
    for (const char c : sample) {
        ++counts[static_cast<unsigned char>(c)];
    }
    if (std::all_of(counts.begin() + kFirstHigh, counts.end(),
                    [](std::uint64_t n) { return n == 0; })) {
        return {};
    }
    const LetterScores& letters = letter_scores();
    std::array<double, kLanguageCount> ascii_scores{};
    std::uint64_t ascii_letters = 0;
    for (std::size_t b = 0; b < kFirstHigh; ++b) {
        ascii_letters += all_roles()[0][b].kind == Kind::Letter ? counts[b] : 0;
    }
    for (std::size_t l = 0; l < kLanguageCount; ++l) {
        for (std::size_t b = 0; b < kFirstHigh; ++b) {
            ascii_scores[l] += static_cast<double>(counts[b]) * letters.of[0][l][b];
        }
    }
    const std::vector<std::string_view> lines = lines_of(sample);
    std::array<PageScore, kCodePageCount> scores;
    std::size_t best = 0;
    for (std::size_t p = 0; p < kCodePageCount; ++p) {
        scores[p] =
            page_score(p, counts, ascii_scores, ascii_letters, sign_score(all_roles()[p], lines));
        if (p == static_cast<std::size_t>(CodePageId::Mik)) {
            scores[p].score += kMikLead;
        }
        if (scores[p].score > scores[best].score) {
            best = p;
        }
    }
    double rival = -std::numeric_limits<double>::infinity();
    for (std::size_t p = 0; p < kCodePageCount; ++p) {
        if (!print_alike(p, best, counts)) {
            rival = std::max(rival, scores[p].score);
        }
    }
    const double lead = scores[best].score - rival;
    // As sure as the page leads the others and as its letters are text.
    const ByteCounts distinct = distinct_line_counts(lines);
    const auto text = [&](std::size_t page) {
        return text_evidence(page, distinct, scores[page].language) - kSureMargin;
    };
    const auto certainty = [&](std::size_t page, double page_lead) {
        return std::min(certainty_of(page_lead), certainty_of(text(page)));
    };
    const std::size_t mik = static_cast<std::size_t>(CodePageId::Mik);
    if (print_alike(mik, best, counts)) {
        return {CodePageId::Mik, certainty(best, lead), lead >= kSureMargin};
    }
    if (lead < kSureMargin || !reads_as_its_language(scores[best]) || text(best) < 0) {
        return {CodePageId::Mik, certainty(mik, scores[mik].score - scores[best].score), false};
    }
    for (const CodePageId page : naming_order(scores[best].language)) {
        if (print_alike(static_cast<std::size_t>(page), best, counts)) {
            return {page, certainty(best, lead)};
        }
    }
    return {static_cast<CodePageId>(best), certainty(best, lead)};
}

} // namespace kvalon
