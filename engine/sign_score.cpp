#include "engine/sign_score.h"

namespace kvalon {

namespace {

// What a byte stands for, scored as the natural logarithm of how likely a
// report holds it: letters by their language's statistics, the rest here.
constexpr double kJoinedSymbol = -0.7;  // a box character joined into a frame, a shade in a run
constexpr double kLoneSymbol = -7.0;    // a box character or another sign on its own
constexpr double kSymbolInWord = -11.5; // a box character or another sign between two letters
constexpr double kUnprintable = -16.0;  // a byte the page leaves unassigned

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

bool part_of_words(Kind kind) {
    return kind == Kind::Letter || kind == Kind::Box || kind == Kind::Fill || kind == Kind::Symbol;
}

// Which places of a line have a letter of the same word before them, and
// after them: a word is letters and the signs among them, up to a blank, a
// figure or a stop.
class WordReach {
public:
    void measure(const Roles& roles, std::string_view line) {
        m_before.assign(line.size(), false);
        m_after.assign(line.size(), false);
        bool seen = false;
        for (std::size_t column = 0; column < line.size(); ++column) {
            const Kind kind = roles[byte_at(line, column)].kind;
            m_before[column] = seen;
            seen = part_of_words(kind) && (seen || kind == Kind::Letter);
        }
        seen = false;
        for (std::size_t column = line.size(); column-- > 0;) {
            const Kind kind = roles[byte_at(line, column)].kind;
            m_after[column] = seen;
            seen = part_of_words(kind) && (seen || kind == Kind::Letter);
        }
    }
    bool between_letters(std::size_t column) const { return m_before[column] && m_after[column]; }

private:
    std::vector<bool> m_before;
    std::vector<bool> m_after;
};

// The score of the bytes above 127 that a page makes no letters of.
} // namespace

double sign_score(const Roles& roles, const std::vector<std::string_view>& lines) {
    double score = 0;
    WordReach words;
    for (std::size_t row = 0; row < lines.size(); ++row) {
        const Neighbourhood around(roles, lines, row);
        const std::string_view line = lines[row];
        words.measure(roles, line);
        for (std::size_t column = 0; column < line.size(); ++column) {
            const unsigned char byte = byte_at(line, column);
            const Kind kind = roles[byte].kind;
            if (byte < kFirstHigh || kind == Kind::Letter) {
                continue;
            }
            // Letters on both sides make a sign part of a word, however it
            // lines up with the lines above and below: a line repeated
            // stacks its letters into columns too. A frame, shade or block
            // character between two letters of one word is in it, and a
            // shade or block touching a letter too: a bar or a fill ends
            // beside blanks, figures and frames, never against a word.
            const bool drawn = kind == Kind::Box || kind == Kind::Fill;
            if (kind == Kind::Unprintable) {
                score += kUnprintable;
            } else if ((around.letter_at(column - 1) && around.letter_at(column + 1)) ||
                       (drawn && words.between_letters(column)) ||
                       (kind == Kind::Fill &&
                        (around.letter_at(column - 1) || around.letter_at(column + 1)))) {
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

} // namespace kvalon
