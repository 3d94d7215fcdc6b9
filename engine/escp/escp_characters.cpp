#include "engine/escp/escp_characters.h"

#include <array>
#include <string_view>

namespace kvalon {

namespace {

constexpr std::string_view kSwitchedCodes = "#$@[\\]^`{|}~";

struct NationalSet {
    unsigned char number;
    std::array<char32_t, 12> characters; // for the codes of kSwitchedCodes
};

constexpr NationalSet kSets[] = {
    {1, {U'#', U'$', U'à', U'°', U'ç', U'§', U'^', U'`', U'é', U'ù', U'è', U'¨'}},
    {2, {U'#', U'$', U'§', U'Ä', U'Ö', U'Ü', U'^', U'`', U'ä', U'ö', U'ü', U'ß'}},
    {3, {U'£', U'$', U'@', U'[', U'\\', U']', U'^', U'`', U'{', U'|', U'}', U'~'}},
    {4, {U'#', U'$', U'@', U'Æ', U'Ø', U'Å', U'^', U'`', U'æ', U'ø', U'å', U'~'}},
    {5, {U'#', U'¤', U'É', U'Ä', U'Ö', U'Å', U'Ü', U'é', U'ä', U'ö', U'å', U'ü'}},
    {6, {U'#', U'$', U'@', U'°', U'\\', U'é', U'^', U'ù', U'à', U'ò', U'è', U'ì'}},
    {7, {U'₧', U'$', U'@', U'¡', U'Ñ', U'¿', U'^', U'`', U'¨', U'ñ', U'}', U'~'}},
    {8, {U'#', U'$', U'@', U'[', U'¥', U']', U'^', U'`', U'{', U'|', U'}', U'~'}},
    {9, {U'#', U'¤', U'É', U'Æ', U'Ø', U'Å', U'Ü', U'é', U'æ', U'ø', U'å', U'ü'}},
    {10, {U'#', U'$', U'É', U'Æ', U'Ø', U'Å', U'Ü', U'é', U'æ', U'ø', U'å', U'ü'}},
    {11, {U'#', U'$', U'á', U'¡', U'Ñ', U'¿', U'é', U'`', U'í', U'ñ', U'ó', U'ú'}},
    {12, {U'#', U'$', U'á', U'¡', U'Ñ', U'¿', U'é', U'ü', U'í', U'ñ', U'ó', U'ú'}},
    {13, {U'#', U'$', U'@', U'[', U'₩', U']', U'^', U'`', U'{', U'|', U'}', U'~'}},
    {64, {U'#', U'$', U'§', U'°', U'\'', U'"', U'¶', U'`', U'©', U'®', U'†', U'™'}},
};

constexpr unsigned char kLastTable = 3;
constexpr unsigned char kFirstHigh = 128;
constexpr unsigned char kFirstPrintable = 32;
constexpr unsigned char kDelete = 127;

const NationalSet* set_numbered(unsigned char number) {
    for (const NationalSet& set : kSets) {
        if (set.number == number) {
            return &set;
        }
    }
    return nullptr;
}

char32_t national(unsigned char code, unsigned char set) {
    const std::size_t at = kSwitchedCodes.find(static_cast<char>(code));
    const NationalSet* national_set = set_numbered(set);
    if (at == std::string_view::npos || national_set == nullptr) {
        return code;
    }
    return national_set->characters[at];
}

} // namespace

unsigned char escp_character_table(unsigned char n, unsigned char in_force) {
    const unsigned char table = n >= '0' ? static_cast<unsigned char>(n - '0') : n;
    return table <= kLastTable ? table : in_force;
}

unsigned char escp_international_set(unsigned char n, unsigned char in_force) {
    return n == kEscpUsaSet || set_numbered(n) != nullptr ? n : in_force;
}

EscpCharacter escp_character(unsigned char byte, unsigned char table, unsigned char set,
                             CodePageId page) {
    if (byte >= kFirstHigh && table == kEscpItalicTable) {
        const auto low = static_cast<unsigned char>(byte - kFirstHigh);
        if (low < kFirstPrintable || low == kDelete) {
            return {0, true};
        }
        return {national(low, set), true};
    }
    if (byte < kFirstHigh) {
        return {national(byte, set), false};
    }
    return {character_of(page, byte), false};
}

} // namespace kvalon
