#include "printing/pdf/pdf_syntax.h"

#include "printing/utf8_walk.h"

#include <array>
#include <charconv>
#include <cmath>

namespace kvalon {

namespace {

constexpr std::array<double, 10> kPowersOfTen = {1,       10,        100,        1'000, 10'000,
                                                 100'000, 1'000'000, 10'000'000, 1e8,   1e9};
// Far beyond any coordinate of a sheet; larger values take the long way.
constexpr double kFastLimit = 1e9;

// Page contents are mostly numbers: in fixed point they are written far
// faster than through the general conversion. The last digit may round the
// other way in a tie, a billionth of a point at most.
bool append_fixed(std::string& out, double value, int decimals) {
    if (decimals < 0 || decimals >= static_cast<int>(kPowersOfTen.size()) ||
        !(std::fabs(value) < kFastLimit)) {
        return false;
    }
    const double scale = kPowersOfTen[static_cast<std::size_t>(decimals)];
    long long scaled = std::llround(value * scale);
    if (scaled == 0) {
        out += '0';
        return true;
    }
    if (scaled < 0) {
        out += '-';
        scaled = -scaled;
    }
    const auto whole = static_cast<unsigned long long>(scaled / static_cast<long long>(scale));
    auto fraction = static_cast<unsigned long long>(scaled % static_cast<long long>(scale));
    char digits[24];
    out.append(digits, std::to_chars(digits, digits + sizeof digits, whole).ptr);
    if (fraction == 0) {
        return true;
    }
    int places = decimals;
    while (fraction % 10 == 0) {
        fraction /= 10;
        --places;
    }
    char* end = std::to_chars(digits, digits + sizeof digits, fraction).ptr;
    out += '.';
    out.append(static_cast<std::size_t>(places - (end - digits)), '0');
    out.append(digits, end);
    return true;
}

} // namespace

void append_number(std::string& out, double value, int decimals) {
    if (append_fixed(out, value, decimals)) {
        return;
    }
    char digits[64];
    const auto [end, error] =
        std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, decimals);
    if (error != std::errc{}) {
        out += '0';
        return;
    }
    const char* last = end;
    if (decimals > 0) {
        while (last[-1] == '0') {
            --last;
        }
        if (last[-1] == '.') {
            --last;
        }
    }
    const std::string_view text(digits, static_cast<std::size_t>(last - digits));
    // A value that rounds to nothing is written without its sign.
    out += text == "-0" ? std::string_view("0") : text;
}

void append_integer(std::string& out, std::uint64_t value) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, result.ptr);
}

void append_literal(std::string& out, std::string_view bytes) {
    out += '(';
    for (const char byte : bytes) {
        switch (byte) {
        case '(':
        case ')':
        case '\\':
            out += '\\';
            out += byte;
            break;
        case '\r': // a reader turns a bare carriage return into a line feed
            out += "\\r";
            break;
        default:
            out += byte;
        }
    }
    out += ')';
}

void append_hex(std::string& out, std::uint32_t value, int digits) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) {
        out += kDigits[(value >> shift) & 0xFu];
    }
}

void append_utf16_hex(std::string& out, char32_t code) {
    if (code < 0x10000) {
        append_hex(out, code, 4);
        return;
    }
    const char32_t above = code - 0x10000;
    append_hex(out, 0xD800 + (above >> 10), 4);
    append_hex(out, 0xDC00 + (above & 0x3FF), 4);
}

void append_text_string(std::string& out, std::string_view utf8) {
    out += "<FEFF";
    for_each_code_point(utf8, [&](char32_t code) { append_utf16_hex(out, code); });
    out += '>';
}

} // namespace kvalon
