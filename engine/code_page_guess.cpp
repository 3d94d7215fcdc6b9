#include "engine/code_page_guess.h"

#include "engine/box_arms.h"
#include "engine/letter_scores.h"
#include "engine/letters.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <map>
#include <vector>

namespace kvalon {

namespace {

// What a byte stands for, scored as the natural logarithm of how likely a
// report holds it: letters by their language's statistics, the rest here.
constexpr double kJoinedSymbol = -0.7;  // a box character joined into a frame, a shade in a run
constexpr double kLoneSymbol = -7.0;    // a box character or another sign on its own
constexpr double kSymbolInWord = -11.5; // a box character or another sign between two letters
constexpr double kUnprintable = -16.0;  // a byte the page leaves unassigned
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

constexpr std::size_t kFirstHigh = 128;
constexpr std::size_t kByteValues = 256;

enum class Kind : unsigned char { Other, Letter, Box, Fill, Symbol, Unprintable };

struct ByteRole {
    Kind kind = Kind::Other;
    BoxArms arms;
    char32_t letter = 0; // of a letter, its lower-case form
};

using Roles = std::array<ByteRole, kByteValues>;

Kind kind_of(char32_t c) {
    if (script_of(c) != Script::None) {
        return Kind::Letter;
    }
    if (box_arms(c)) {
        return Kind::Box;
    }
    if (is_shade_or_block(c)) {
        return Kind::Fill;
    }
    if (c == 0xFFFD) {
        return Kind::Unprintable;
    }
    return c < kFirstHigh ? Kind::Other : Kind::Symbol;
}

Roles roles_of(CodePageId page) {
    Roles roles;
    for (std::size_t b = 0; b < kByteValues; ++b) {
        const char32_t c = character_of(page, static_cast<unsigned char>(b));
        roles[b].kind = kind_of(c);
        roles[b].letter = roles[b].kind == Kind::Letter ? folded_letter(c) : 0;
        if (const auto arms = box_arms(c)) {
            roles[b].arms = *arms;
        }
    }
    return roles;
}

const std::array<Roles, kCodePageCount>& all_roles() {
    static const std::array<Roles, kCodePageCount> roles = [] {
        std::array<Roles, kCodePageCount> made;
        for (std::size_t p = 0; p < kCodePageCount; ++p) {
            made[p] = roles_of(static_cast<CodePageId>(p));
        }
        return made;
    }();
    return roles;
}

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

// Columns are counted without sign: the one left of the first is past every
// line's end, like the one right of the last.
unsigned char byte_at(std::string_view line, std::size_t column) {
    return static_cast<unsigned char>(line[column]);
}

// Where a box character's arm meets the like arm of its neighbour, or a
// shade or block continues in the next cell, they make a frame or a bar.
class Neighbourhood {
public:
    Neighbourhood(const Roles& roles, const std::vector<std::string_view>& lines, std::size_t row)
        : m_roles(roles), m_line(lines[row]),
          m_above(row > 0 ? lines[row - 1] : std::string_view()),
          m_below(row + 1 < lines.size() ? lines[row + 1] : std::string_view()) {}

    // A frame's character sits beside blanks, letters, figures, shades and
    // the characters it joins, never beside a box character it does not join
    // or another sign.
    bool fits_its_line(std::size_t column) const {
        const ByteRole& role = m_roles[byte_at(m_line, column)];
        return fits_beside(role, role.arms.left, column - 1, &BoxArms::right) &&
               fits_beside(role, role.arms.right, column + 1, &BoxArms::left);
    }

    bool joined(std::size_t column) const {
        const unsigned char byte = byte_at(m_line, column);
        const ByteRole& role = m_roles[byte];
        if (role.kind == Kind::Fill) {
            return same_at(m_line, column - 1, byte) || same_at(m_line, column + 1, byte) ||
                   same_at(m_above, column, byte) || same_at(m_below, column, byte);
        }
        const BoxArms& a = role.arms;
        return meets(a.left, m_line, column - 1, &BoxArms::right) ||
               meets(a.right, m_line, column + 1, &BoxArms::left) ||
               meets(a.up, m_above, column, &BoxArms::down) ||
               meets(a.down, m_below, column, &BoxArms::up);
    }

    bool letter_at(std::size_t column) const {
        return column < m_line.size() && m_roles[byte_at(m_line, column)].kind == Kind::Letter;
    }

private:
    bool fits_beside(const ByteRole& role, Arm arm, std::size_t column,
                     Arm BoxArms::*facing) const {
        if (column >= m_line.size()) {
            return true;
        }
        const ByteRole& other = m_roles[byte_at(m_line, column)];
        switch (other.kind) {
        case Kind::Box:
            return role.kind != Kind::Box || other.arms.*facing == arm;
        case Kind::Symbol:
        case Kind::Unprintable:
            return false;
        case Kind::Fill:
        case Kind::Letter:
        case Kind::Other:
            return true;
        }
        return true;
    }

    static bool same_at(std::string_view line, std::size_t column, unsigned char byte) {
        return column < line.size() && byte_at(line, column) == byte;
    }

    bool meets(Arm arm, std::string_view line, std::size_t column, Arm BoxArms::*facing) const {
        if (arm == Arm::None || column >= line.size()) {
            return false;
        }
        const ByteRole& other = m_roles[byte_at(line, column)];
        return other.kind == Kind::Box && other.arms.*facing == arm;
    }

    const Roles& m_roles;
    std::string_view m_line;
    std::string_view m_above;
    std::string_view m_below;
};

// The score of the bytes above 127 that a page makes no letters of.
double sign_score(const Roles& roles, const std::vector<std::string_view>& lines) {
    double score = 0;
    for (std::size_t row = 0; row < lines.size(); ++row) {
        const Neighbourhood around(roles, lines, row);
        const std::string_view line = lines[row];
        for (std::size_t column = 0; column < line.size(); ++column) {
            const unsigned char byte = byte_at(line, column);
            const Kind kind = roles[byte].kind;
            if (byte < kFirstHigh || kind == Kind::Letter) {
                continue;
            }
            // Letters on both sides make a sign part of a word, however it
            // lines up with the lines above and below: a line repeated
            // stacks its letters into columns too.
            if (kind == Kind::Unprintable) {
                score += kUnprintable;
            } else if (around.letter_at(column - 1) && around.letter_at(column + 1)) {
                score += kSymbolInWord;
            } else if ((kind == Kind::Box || kind == Kind::Fill) && !around.fits_its_line(column)) {
                score += kSymbolInWord;
            } else if ((kind == Kind::Box || kind == Kind::Fill) && around.joined(column)) {
                score += kJoinedSymbol;
            } else {
                score += kLoneSymbol;
            }
        }
    }
    return score;
}

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

// Among pages that print a report alike, the one named: MIK, then the pages
// of the report's alphabet, then the others, each in the order of the rows.
std::array<CodePageId, kCodePageCount> naming_order(Script alphabet) {
    std::array<CodePageId, kCodePageCount> order{};
    std::size_t next = 0;
    order[next++] = CodePageId::Mik;
    for (const bool of_alphabet : {true, false}) {
        for (const CodePageRow& row : kCodePageRows) {
            if (row.id != CodePageId::Mik && (row.script == alphabet) == of_alphabet) {
                order[next++] = row.id;
            }
        }
    }
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
double text_evidence(const Roles& roles, const std::array<std::uint64_t, kByteValues>& counts,
                     const PageScore& score) {
    if (score.letter_count == 0) {
        return 0;
    }
    std::map<char32_t, std::uint64_t> by_letter;
    for (std::size_t b = 0; b < kByteValues; ++b) {
        if (roles[b].kind == Kind::Letter && counts[b] > 0) {
            by_letter[roles[b].letter] += counts[b];
        }
    }
    const auto letters = static_cast<double>(score.letter_count);
    double entropy_total = 0; // N times the entropy of the sample's own mix
    for (const auto& [letter, count] : by_letter) {
        const auto n = static_cast<double>(count);
        entropy_total -= n * std::log(n / letters);
    }
    // -N D = the letters' score + N H(sample)
    const double chance = static_cast<double>(by_letter.size() - 1) / 2;
    return score.letter_score + entropy_total + chance + letters * kMostDivergence +
           kShortTextAllowance;
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
    const auto text = [&](std::size_t page) {
        return text_evidence(all_roles()[page], counts, scores[page]) - kSureMargin;
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
    for (const CodePageId page : naming_order(letters.scripts[scores[best].language])) {
        if (print_alike(static_cast<std::size_t>(page), best, counts)) {
            return {page, certainty(best, lead)};
        }
    }
    return {static_cast<CodePageId>(best), certainty(best, lead)};
}

} // namespace kvalon
